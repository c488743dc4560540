#include "pcb/Pcbclass_Object.h"

#include <cmath>
#include <cstdint>

#include "pcb/PCBProcs.h"

TCLASS_IMPL(TPCBObject)

TCoord RoundCoord(double Value) {
  // A store to memory rounds an x87 register value once to a true double.
  volatile double Stored = Value;
  const double X = Stored;
  if (std::isnan(X)) return 0;
  if (X >= 2147483647.0) return INT32_MAX;
  if (X <= -2147483648.0) return INT32_MIN;
  const double Floor = std::floor(X);
  const double Fraction = X - Floor;
  Int64 N = static_cast<Int64>(Floor);
  if (Fraction > 0.5 || (Fraction == 0.5 && (N & 1) != 0)) ++N;
  return static_cast<TCoord>(N);
}

TPCBObject::TPCBObject(Integer AHandle) : Handle(AHandle) {}

void TPCBObject::ExchangeStateBytes(TExchangeMode Mode) {
  PcbApi_GetObjectBitField2(Mode, Handle, BitField2);
  PcbApi_GetObjectBitField3(Mode, Handle, BitField3);
}

Integer TPCBObject::Exchange(TExchangeMode Mode) {
  ExchangeStateBytes(Mode);
  // The common header alone; note HeaderValue2 before HeaderByte here.
  return PcbApi_QueryPrimitive(Mode, Handle, Flags, HeaderWord, Layer, HeaderValue1,
                               HeaderValue2, HeaderByte);
}

Integer TPCBObject::GetBoundingRectangle(TCoord& V1, TCoord& V2, TCoord& V3, TCoord& V4) {
  return PcbApi_QueryObjectBoundingRectangle(Handle, V1, V2, V3, V4);
}

bool TPCBObject::ImportFromUser() { return PcbApi_QueryObjectImport_FromUser(Handle) == 0; }

Integer TPCBObject::GraphicallyInvalidate() {
  return PcbApi_QueryObjectGraphicallyInvalidate(Handle);
}

// --- State bits ---

void TPCBObject::SetFlagBit(int Bit, bool Value) {
  if (Value)
    Flags = Word(Flags | (1u << Bit));
  else
    Flags = Word(Flags & ~(1u << Bit));
}

bool TPCBObject::GetFlagsBit4() { return FlagBit(4); }
bool TPCBObject::GetBitField2Bit4() { return (BitField2 & 0x10) != 0; }
bool TPCBObject::GetBitField2Bit0() { return (BitField2 & 0x01) != 0; }
bool TPCBObject::GetBitField2Bit1() { return (BitField2 & 0x02) != 0; }
bool TPCBObject::GetBitField2Bit3() { return (BitField2 & 0x08) != 0; }
bool TPCBObject::GetBitField2Bit5() { return (BitField2 & 0x20) != 0; }
bool TPCBObject::GetBitField2Bit6() { return (BitField2 & 0x40) != 0; }
void TPCBObject::SetFlagsBit4(bool Value) { SetFlagBit(4, Value); }
bool TPCBObject::GetFlagsBit3() { return FlagBit(3); }

void TPCBObject::SetFlagsBit3(bool Value) {
  SetFlagBit(3, Value);
  Exchange(ExchangeWrite);
}

bool TPCBObject::GetFlagsBit8Clear() { return !FlagBit(8); }

void TPCBObject::SetFlagsBit8Clear(bool Value) {
  SetFlagBit(8, !Value);
  Exchange(ExchangeWrite);
}

bool TPCBObject::GetBitField3Any() { return GetBitField3Bit1() || GetBitField3Bit2(); }

void TPCBObject::SetBitField3Both(bool Value) {
  SetBitField3Bit1(Value);
  SetBitField3Bit2(Value);
}

bool TPCBObject::GetBitField3Bit1() { return (BitField3 & 0x02) != 0; }

void TPCBObject::SetBitField3Bit1(bool Value) {
  BitField3 = Value ? Byte(BitField3 | 0x02) : Byte(BitField3 & ~0x02);
}

bool TPCBObject::GetBitField3Bit2() { return (BitField3 & 0x04) != 0; }

void TPCBObject::SetBitField3Bit2(bool Value) {
  BitField3 = Value ? Byte(BitField3 | 0x04) : Byte(BitField3 & ~0x04);
}

bool TPCBObject::GetFlagsBit11() { return FlagBit(11); }
void TPCBObject::SetFlagsBit11(bool Value) { SetFlagBit(11, Value); }
bool TPCBObject::GetFlagsBit13() { return FlagBit(13); }
void TPCBObject::SetFlagsBit13(bool Value) { SetFlagBit(13, Value); }
bool TPCBObject::GetFlagsBit12() { return FlagBit(12); }
void TPCBObject::SetFlagsBit12(bool Value) { SetFlagBit(12, Value); }
bool TPCBObject::GetFlagsBit14() { return FlagBit(14); }
void TPCBObject::SetFlagsBit14(bool Value) { SetFlagBit(14, Value); }
bool TPCBObject::GetFlagsBit15() { return FlagBit(15); }
void TPCBObject::SetFlagsBit15(bool Value) { SetFlagBit(15, Value); }

// --- Field getters ---

Integer TPCBObject::GetHandle() { return Handle; }
TObjectId TPCBObject::GetObjectId() { return ObjectId; }
TCoord TPCBObject::GetX() { return X; }
TCoord TPCBObject::GetY() { return Y; }
TCoord TPCBObject::GetX2() { return X; }
TCoord TPCBObject::GetY2() { return Y; }
Word TPCBObject::GetFlags() { return Flags; }
Word TPCBObject::GetHeaderWord() { return HeaderWord; }
TLayer TPCBObject::GetLayer() { return Layer; }
Byte TPCBObject::GetHeaderByte() { return HeaderByte; }
Integer TPCBObject::GetHeaderValue1() { return HeaderValue1; }
Integer TPCBObject::GetHeaderValue2() { return HeaderValue2; }

// --- Class properties: defaults ---

Integer TPCBObject::GetExtraValue1() { return 0; }
Integer TPCBObject::GetExtraValue2() { return 0; }
Integer TPCBObject::GetExtraValue3() { return 0; }
Integer TPCBObject::GetPadSize1() { return 0; }
Integer TPCBObject::GetPadSize2() { return 0; }
Integer TPCBObject::GetPadSize3() { return 0; }
Integer TPCBObject::GetPadSize4() { return 0; }
Integer TPCBObject::GetPadSize5() { return 0; }
Integer TPCBObject::GetPadSize6() { return 0; }
Integer TPCBObject::GetHoleSize() { return 0; }
Byte TPCBObject::GetPadByte1() { return 0; }
Byte TPCBObject::GetPadByte2() { return 0; }
Byte TPCBObject::GetPadByte3() { return 0; }
PcbString TPCBObject::GetName() { return PcbString(); }
double TPCBObject::GetRotation() { return 0.0; }
TCoord TPCBObject::GetWidth() { return 0; }
Byte TPCBObject::GetShape() { return 0; }
TCoord TPCBObject::GetSize() { return 0; }
TCoord TPCBObject::GetXSize() { return GetSize(); }
TCoord TPCBObject::GetYSize() { return GetSize(); }
Byte TPCBObject::GetViaByte1() { return 0; }
Byte TPCBObject::GetViaByte2() { return 0; }
TCoord TPCBObject::GetRadius() { return 0; }
double TPCBObject::GetStartAngle() { return 0.0; }
double TPCBObject::GetEndAngle() { return 0.0; }
TCoord TPCBObject::GetLineWidth() { return 0; }

TCoord TPCBObject::GetBoundsValue1() {
  TCoord V1 = 0, V2 = 0, V3 = 0, V4 = 0;
  PcbApi_QueryObjectBoundingRectangle(Handle, V1, V2, V3, V4);
  return V1;
}

TCoord TPCBObject::GetBoundsValue2() {
  TCoord V1 = 0, V2 = 0, V3 = 0, V4 = 0;
  PcbApi_QueryObjectBoundingRectangle(Handle, V1, V2, V3, V4);
  return V2;
}

TCoord TPCBObject::GetBoundsValue3() {
  TCoord V1 = 0, V2 = 0, V3 = 0, V4 = 0;
  PcbApi_QueryObjectBoundingRectangle(Handle, V1, V2, V3, V4);
  return V3;
}

TCoord TPCBObject::GetBoundsValue4() {
  TCoord V1 = 0, V2 = 0, V3 = 0, V4 = 0;
  PcbApi_QueryObjectBoundingRectangle(Handle, V1, V2, V3, V4);
  return V4;
}

Integer TPCBObject::GetTextValue() { return 0; }
Byte TPCBObject::GetTextFlag() { return 0; }
PcbString TPCBObject::GetText() { return PcbString(); }
Byte TPCBObject::GetFromToByte1() { return 0; }
Byte TPCBObject::GetFromToByte2() { return 0; }

// --- Corner geometry ---

TCoord TPCBObject::CornerCoord(double CX, double CY, double W, double H, double Rotation,
                               int Corner, bool WantX) {
  if (H == 0) {
    // No angle can be taken from a flat box: the X corners lie W/2 either side of the
    // centre, unturned, and the Y corners on the centre line.
    if (!WantX) return RoundCoord(CY);
    return RoundCoord(Corner == 1 || Corner == 3 ? CX - W / 2 : CX + W / 2);
  }
  const double R = std::sqrt((W / 2) * (W / 2) + (H / 2) * (H / 2));
  const double A = std::atan(W / H);
  const double T = DegToRad(-Rotation);
  const double U = DegToRad(90 - Rotation);
  switch (Corner) {
    case 1:
      return RoundCoord(WantX ? CX - R * std::sin(A + T) : CY - R * std::cos(A + T));
    case 2:
      return RoundCoord(WantX ? CX + R * std::cos(U - A) : CY - R * std::sin(U - A));
    case 3:
      return RoundCoord(WantX ? CX - R * std::cos(U - A) : CY + R * std::sin(U - A));
    default:
      return RoundCoord(WantX ? CX + R * std::sin(A + T) : CY + R * std::cos(A + T));
  }
}

TCoord TPCBObject::BaseCorner(int Corner, bool WantX, TCoord Expansion) {
  const TCoord X1 = GetX(), Y1 = GetY(), X2 = GetX2(), Y2 = GetY2();
  // Each end halved (truncating toward zero) before the sum.
  const double CX = double(X1 / 2) + double(X2 / 2);
  const double CY = double(Y1 / 2) + double(Y2 / 2);
  const double W = std::fabs(double(X2) - double(X1)) + 2.0 * Expansion;
  const double H = std::fabs(double(Y2) - double(Y1)) + 2.0 * Expansion;
  return CornerCoord(CX, CY, W, H, GetRotation(), Corner, WantX);
}

TCoord TPCBObject::GetCorner1X(TCoord Expansion) { return BaseCorner(1, true, Expansion); }
TCoord TPCBObject::GetCorner1Y(TCoord Expansion) { return BaseCorner(1, false, Expansion); }
TCoord TPCBObject::GetCorner2X(TCoord Expansion) { return BaseCorner(2, true, Expansion); }
TCoord TPCBObject::GetCorner2Y(TCoord Expansion) { return BaseCorner(2, false, Expansion); }
TCoord TPCBObject::GetCorner3X(TCoord Expansion) { return BaseCorner(3, true, Expansion); }
TCoord TPCBObject::GetCorner3Y(TCoord Expansion) { return BaseCorner(3, false, Expansion); }
TCoord TPCBObject::GetCorner4X(TCoord Expansion) { return BaseCorner(4, true, Expansion); }
TCoord TPCBObject::GetCorner4Y(TCoord Expansion) { return BaseCorner(4, false, Expansion); }

// --- Per-layer defaults: the plain value on the object's own layer, else 0 ---

TCoord TPCBObject::GetSizeOnLayer(TLayer L) { return L == Layer ? GetSize() : 0; }
TCoord TPCBObject::GetXSizeOnLayer(TLayer L) { return L == Layer ? GetXSize() : 0; }
TCoord TPCBObject::GetYSizeOnLayer(TLayer L) { return L == Layer ? GetYSize() : 0; }
Byte TPCBObject::GetShapeOnLayer(TLayer L) { return L == Layer ? GetShape() : 0; }
TCoord TPCBObject::GetWidthOnLayer(TLayer L) { return L == Layer ? GetWidth() : 0; }

TCoord TPCBObject::GetCorner1XOnLayer(TLayer L, TCoord E) {
  return L == Layer ? GetCorner1X(E) : 0;
}
TCoord TPCBObject::GetCorner1YOnLayer(TLayer L, TCoord E) {
  return L == Layer ? GetCorner1Y(E) : 0;
}
TCoord TPCBObject::GetCorner2XOnLayer(TLayer L, TCoord E) {
  return L == Layer ? GetCorner2X(E) : 0;
}
TCoord TPCBObject::GetCorner2YOnLayer(TLayer L, TCoord E) {
  return L == Layer ? GetCorner2Y(E) : 0;
}
TCoord TPCBObject::GetCorner3XOnLayer(TLayer L, TCoord E) {
  return L == Layer ? GetCorner3X(E) : 0;
}
TCoord TPCBObject::GetCorner3YOnLayer(TLayer L, TCoord E) {
  return L == Layer ? GetCorner3Y(E) : 0;
}
TCoord TPCBObject::GetCorner4XOnLayer(TLayer L, TCoord E) {
  return L == Layer ? GetCorner4X(E) : 0;
}
TCoord TPCBObject::GetCorner4YOnLayer(TLayer L, TCoord E) {
  return L == Layer ? GetCorner4Y(E) : 0;
}

TCoord TPCBObject::GetXOnLayer(TLayer L) { return L == Layer ? GetX() : 0; }
TCoord TPCBObject::GetYOnLayer(TLayer L) { return L == Layer ? GetY() : 0; }
TCoord TPCBObject::GetX2OnLayer(TLayer L) { return L == Layer ? GetX2() : 0; }
TCoord TPCBObject::GetY2OnLayer(TLayer L) { return L == Layer ? GetY2() : 0; }

// --- Setters ---

void TPCBObject::SetHandle(Integer Value) { Handle = Value; }
void TPCBObject::SetObjectId(TObjectId Value) { ObjectId = Value; }
void TPCBObject::SetX(TCoord Value) { X = Value; }
void TPCBObject::SetY(TCoord Value) { Y = Value; }
void TPCBObject::SetX2(TCoord) {}
void TPCBObject::SetY2(TCoord) {}
void TPCBObject::SetFlags(Word Value) { Flags = Value; }
void TPCBObject::SetHeaderWord(Word Value) { HeaderWord = Value; }
void TPCBObject::SetLayer(TLayer Value) { Layer = Value; }
void TPCBObject::SetHeaderByte(Byte Value) { HeaderByte = Value; }
void TPCBObject::SetHeaderValue1(Integer Value) { HeaderValue1 = Value; }
void TPCBObject::SetHeaderValue2(Integer Value) { HeaderValue2 = Value; }
void TPCBObject::SetExtraValue1(Integer) {}
void TPCBObject::SetExtraValue2(Integer) {}
void TPCBObject::SetExtraValue3(Integer) {}
void TPCBObject::SetPadSize1(Integer) {}
void TPCBObject::SetPadSize2(Integer) {}
void TPCBObject::SetPadSize3(Integer) {}
void TPCBObject::SetPadSize4(Integer) {}
void TPCBObject::SetPadSize5(Integer) {}
void TPCBObject::SetPadSize6(Integer) {}
void TPCBObject::SetHoleSize(Integer) {}
void TPCBObject::SetPadByte1(Byte) {}
void TPCBObject::SetPadByte2(Byte) {}
void TPCBObject::SetPadByte3(Byte) {}
void TPCBObject::SetName(const PcbString&) {}
void TPCBObject::SetRotation(double) {}
void TPCBObject::SetWidth(TCoord) {}
void TPCBObject::SetShape(Byte) {}
void TPCBObject::SetSize(TCoord) {}
void TPCBObject::SetXSize(TCoord) {}
void TPCBObject::SetYSize(TCoord) {}
void TPCBObject::SetViaByte1(Byte) {}
void TPCBObject::SetViaByte2(Byte) {}
void TPCBObject::SetRadius(TCoord) {}
void TPCBObject::SetStartAngle(double) {}
void TPCBObject::SetEndAngle(double) {}
void TPCBObject::SetLineWidth(TCoord) {}
void TPCBObject::SetTextValue(Integer) {}
void TPCBObject::SetTextFlag(Byte) {}
void TPCBObject::SetText(const PcbString&) {}
void TPCBObject::SetFromToByte1(Byte) {}
void TPCBObject::SetFromToByte2(Byte) {}
