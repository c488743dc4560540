// The base of every wrapper of a PCB editor object: the editor's handle and a copy of
// the object's fields, filled from the editor and written back by Exchange, with the
// virtual property interface that every wrapper shares, the corner geometry and the
// factory that makes the right wrapper for a handle.
//
// A wrapper owns nothing in the editor: freeing it leaves the editor object as it is.
// Fields are public and keep their declared order and exact widths; the wrappers of
// PCBProcs.h take them by reference, so they keep their natural alignment.
#pragma once

#include <initializer_list>

#include "classlib/Objects.h"
#include "pcb/PcbApiAbi.h"
#include "pcb/Pcbtypes.h"

// A set of object ids in the editor's layout: 4 bytes, id n is bit n (ids 0..31).
struct TObjectSet {
  Cardinal Bits = 0;

  constexpr TObjectSet() = default;
  constexpr TObjectSet(std::initializer_list<TObjectId> Ids) {
    for (TObjectId Id : Ids) Include(Id);
  }

  constexpr bool Contains(TObjectId Id) const { return Id < 32 && (Bits >> Id & 1u) != 0; }
  constexpr void Include(TObjectId Id) {
    if (Id < 32) Bits |= 1u << Id;
  }
  constexpr void Exclude(TObjectId Id) {
    if (Id < 32) Bits &= ~(1u << Id);
  }

  friend constexpr bool operator==(const TObjectSet&, const TObjectSet&) = default;
};
static_assert(sizeof(TObjectSet) == 4, "an object set is the editor's 4-byte set");

class TPCBObject : public TObject {
  TCLASS_DECL(TPCBObject, TObject)
 public:
  // A wrapper of the object AHandle (0: no object yet; Handle may be set later).
  explicit TPCBObject(Integer AHandle = 0);

  Integer Handle = 0;     // the editor's handle, never owned
  TObjectId ObjectId = 0;  // set by each class's constructor
  TCoord X = 0;            // reference point, exchanged by the class queries
  TCoord Y = 0;
  Word Flags = 0;          // editor state bits
  Byte BitField2 = 0;      // second and third editor state bytes
  Byte BitField3 = 0;
  Word HeaderWord = 0;     // common header fields, carried unchanged
  TLayer Layer = 0;
  Byte HeaderByte = 0;
  Integer HeaderValue1 = 0;
  Integer HeaderValue2 = 0;

  // --- The virtual interface, in slot order ---

  // Reads (Mode 1) or writes (Mode 0) the copy; the status of the main query.
  virtual Integer Exchange(TExchangeMode Mode);
  // The editor's bounding rectangle: (V1, V2) the lower corner, (V3, V4) the upper.
  virtual Integer GetBoundingRectangle(TCoord& V1, TCoord& V2, TCoord& V3, TCoord& V4);
  virtual bool ImportFromUser();
  virtual Integer GraphicallyInvalidate();

  // State bits. Setters change the copy only, except SetFlagsBit3 and SetFlagsBit8Clear,
  // which write the object to the editor at once.
  virtual bool GetFlagsBit4();
  virtual bool GetBitField2Bit4();
  virtual bool GetBitField2Bit0();
  virtual bool GetBitField2Bit1();
  virtual bool GetBitField2Bit3();
  virtual bool GetBitField2Bit5();
  virtual bool GetBitField2Bit6();
  virtual void SetFlagsBit4(bool Value);
  virtual bool GetFlagsBit3();
  virtual void SetFlagsBit3(bool Value);
  virtual bool GetFlagsBit8Clear();
  virtual void SetFlagsBit8Clear(bool Value);
  virtual bool GetBitField3Any();
  virtual void SetBitField3Both(bool Value);
  virtual bool GetBitField3Bit1();
  virtual void SetBitField3Bit1(bool Value);
  virtual bool GetBitField3Bit2();
  virtual void SetBitField3Bit2(bool Value);
  virtual bool GetFlagsBit11();
  virtual void SetFlagsBit11(bool Value);
  virtual bool GetFlagsBit13();
  virtual void SetFlagsBit13(bool Value);
  virtual bool GetFlagsBit12();
  virtual void SetFlagsBit12(bool Value);
  virtual bool GetFlagsBit14();
  virtual void SetFlagsBit14(bool Value);
  virtual bool GetFlagsBit15();
  virtual void SetFlagsBit15(bool Value);

  // Field getters. X2 and Y2 default to X and Y.
  virtual Integer GetHandle();
  virtual TObjectId GetObjectId();
  virtual TCoord GetX();
  virtual TCoord GetY();
  virtual TCoord GetX2();
  virtual TCoord GetY2();
  virtual Word GetFlags();
  virtual Word GetHeaderWord();
  virtual TLayer GetLayer();
  virtual Byte GetHeaderByte();
  virtual Integer GetHeaderValue1();
  virtual Integer GetHeaderValue2();

  // Class properties; each class binds the ones it has (0 or empty otherwise).
  virtual Integer GetExtraValue1();
  virtual Integer GetExtraValue2();
  virtual Integer GetExtraValue3();
  virtual Integer GetPadSize1();
  virtual Integer GetPadSize2();
  virtual Integer GetPadSize3();
  virtual Integer GetPadSize4();
  virtual Integer GetPadSize5();
  virtual Integer GetPadSize6();
  virtual Integer GetHoleSize();
  virtual Byte GetPadByte1();
  virtual Byte GetPadByte2();
  virtual Byte GetPadByte3();
  virtual PcbString GetName();
  virtual double GetRotation();
  virtual TCoord GetWidth();
  virtual Byte GetShape();
  virtual TCoord GetSize();
  virtual TCoord GetXSize();  // default: GetSize
  virtual TCoord GetYSize();  // default: GetSize
  virtual Byte GetViaByte1();
  virtual Byte GetViaByte2();
  virtual TCoord GetRadius();
  virtual double GetStartAngle();
  virtual double GetEndAngle();
  virtual TCoord GetLineWidth();
  // Each asks the editor's bounding rectangle afresh (V1 .. V4).
  virtual TCoord GetBoundsValue1();
  virtual TCoord GetBoundsValue2();
  virtual TCoord GetBoundsValue3();
  virtual TCoord GetBoundsValue4();
  virtual Integer GetTextValue();
  virtual Byte GetTextFlag();
  virtual PcbString GetText();
  virtual Byte GetFromToByte1();
  virtual Byte GetFromToByte2();

  // The corners of the rectangle from (X, Y) to (X2, Y2), widened by Expansion on
  // every side and turned about its centre by GetRotation degrees.
  virtual TCoord GetCorner1X(TCoord Expansion);
  virtual TCoord GetCorner1Y(TCoord Expansion);
  virtual TCoord GetCorner2X(TCoord Expansion);
  virtual TCoord GetCorner2Y(TCoord Expansion);
  virtual TCoord GetCorner3X(TCoord Expansion);
  virtual TCoord GetCorner3Y(TCoord Expansion);
  virtual TCoord GetCorner4X(TCoord Expansion);
  virtual TCoord GetCorner4Y(TCoord Expansion);

  // Per-layer values: by default the plain getter's value when L is the object's
  // layer, 0 on any other layer.
  virtual TCoord GetSizeOnLayer(TLayer L);
  virtual TCoord GetXSizeOnLayer(TLayer L);
  virtual TCoord GetYSizeOnLayer(TLayer L);
  virtual Byte GetShapeOnLayer(TLayer L);
  virtual TCoord GetWidthOnLayer(TLayer L);
  virtual TCoord GetCorner1XOnLayer(TLayer L, TCoord Expansion);
  virtual TCoord GetCorner1YOnLayer(TLayer L, TCoord Expansion);
  virtual TCoord GetCorner2XOnLayer(TLayer L, TCoord Expansion);
  virtual TCoord GetCorner2YOnLayer(TLayer L, TCoord Expansion);
  virtual TCoord GetCorner3XOnLayer(TLayer L, TCoord Expansion);
  virtual TCoord GetCorner3YOnLayer(TLayer L, TCoord Expansion);
  virtual TCoord GetCorner4XOnLayer(TLayer L, TCoord Expansion);
  virtual TCoord GetCorner4YOnLayer(TLayer L, TCoord Expansion);
  virtual TCoord GetXOnLayer(TLayer L);
  virtual TCoord GetYOnLayer(TLayer L);
  virtual TCoord GetX2OnLayer(TLayer L);
  virtual TCoord GetY2OnLayer(TLayer L);

  // Field setters; they change the copy only. The base stores the common fields and
  // ignores the rest.
  virtual void SetHandle(Integer Value);
  virtual void SetObjectId(TObjectId Value);
  virtual void SetX(TCoord Value);
  virtual void SetY(TCoord Value);
  virtual void SetX2(TCoord Value);
  virtual void SetY2(TCoord Value);
  virtual void SetFlags(Word Value);
  virtual void SetHeaderWord(Word Value);
  virtual void SetLayer(TLayer Value);
  virtual void SetHeaderByte(Byte Value);
  virtual void SetHeaderValue1(Integer Value);
  virtual void SetHeaderValue2(Integer Value);
  virtual void SetExtraValue1(Integer Value);
  virtual void SetExtraValue2(Integer Value);
  virtual void SetExtraValue3(Integer Value);
  virtual void SetPadSize1(Integer Value);
  virtual void SetPadSize2(Integer Value);
  virtual void SetPadSize3(Integer Value);
  virtual void SetPadSize4(Integer Value);
  virtual void SetPadSize5(Integer Value);
  virtual void SetPadSize6(Integer Value);
  virtual void SetHoleSize(Integer Value);
  virtual void SetPadByte1(Byte Value);
  virtual void SetPadByte2(Byte Value);
  virtual void SetPadByte3(Byte Value);
  virtual void SetName(const PcbString& Value);
  virtual void SetRotation(double Value);
  virtual void SetWidth(TCoord Value);
  virtual void SetShape(Byte Value);
  virtual void SetSize(TCoord Value);
  virtual void SetXSize(TCoord Value);
  virtual void SetYSize(TCoord Value);
  virtual void SetViaByte1(Byte Value);
  virtual void SetViaByte2(Byte Value);
  virtual void SetRadius(TCoord Value);
  virtual void SetStartAngle(double Value);
  virtual void SetEndAngle(double Value);
  virtual void SetLineWidth(TCoord Value);
  virtual void SetTextValue(Integer Value);
  virtual void SetTextFlag(Byte Value);
  virtual void SetText(const PcbString& Value);
  virtual void SetFromToByte1(Byte Value);
  virtual void SetFromToByte2(Byte Value);

 protected:
  // The first steps of every exchange: the two editor state bytes.
  void ExchangeStateBytes(TExchangeMode Mode);

  // One coordinate of corner Corner (1..4) of a box of size W x H centred on (CX, CY)
  // and turned by Rotation degrees, rounded to the nearest coordinate. A box of
  // height 0 has no angle to turn by: its X corners are CX -/+ W/2 and its Y corners
  // CY.
  static TCoord CornerCoord(double CX, double CY, double W, double H, double Rotation,
                            int Corner, bool WantX);

 private:
  TCoord BaseCorner(int Corner, bool WantX, TCoord Expansion);
  void SetFlagBit(int Bit, bool Value);
  bool FlagBit(int Bit) const { return (Flags >> Bit & 1u) != 0; }
};

// Rounds to the nearest coordinate (ties to even), kept within the 32-bit range.
TCoord RoundCoord(double Value);

// The factory: the wrapper of the class that the editor's object id of Handle names
// (bit 7 of the id ignored), already read once with Exchange(1); nullptr for an id
// without a class. The caller owns the wrapper.
TPCBObject* CreatePcbObjectFromHandle(Integer Handle);

// The text of the object Handle (through the factory's wrapper and its GetText);
// empty for handle 0 or an object the factory has no class for.
void GetObjectTextFromHandle(Integer Handle, PcbString& Text);
