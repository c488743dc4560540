#include "classlib/ExtCtrls.h"
#include "classlib/ScopeExit.h"

TCLASS_IMPL(TTimer)

void TTimer::AfterConstruction() {
  inherited::AfterConstruction();
  UpdateTimer();
}

void TTimer::BeforeDestruction() {
  FEnabled = false;
  if (FWindowHandle) {
    KillTimer(FWindowHandle, 1);
    DeallocateHWnd(FWindowHandle);
    FWindowHandle = nullptr;
  }
  inherited::BeforeDestruction();
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

// A change starts the count again.
void TTimer::UpdateTimer() {
  if (FWindowHandle) KillTimer(FWindowHandle, 1);
  if (!FEnabled || FInterval == 0 || ComponentState().Contains(csDestroying)) return;
  if (!FWindowHandle) FWindowHandle = AllocateHWnd(TWndMethod::Bind<&TTimer::WndProc>(this));
  if (!SetTimer(FWindowHandle, 1, FInterval, nullptr)) throw EOutOfResources(SNoTimers);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProcA(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    Timer();
  } catch (...) {
    HandleWindowException(this);
  }
}

void TTimer::Timer() {
  if (FEnabled && OnTimer.Assigned()) OnTimer(this);
}

// ---------------------------------------------------------------------------------
// Frames

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Pen()->SetWidth(1);
  --Rect.right;
  --Rect.bottom;
  for (int I = 0; I < Width; ++I) {
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({Point(Rect.left, Rect.bottom), Point(Rect.left, Rect.top), Point(Rect.right, Rect.top)});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline({Point(Rect.right, Rect.top), Point(Rect.right, Rect.bottom), Point(Rect.left - 1, Rect.bottom)});
    InflateRect(&Rect, -1, -1);
  }
  ++Rect.right;
  ++Rect.bottom;
}

// ---------------------------------------------------------------------------------
// TCustomPanel

TCLASS_IMPL(TCustomPanel)
TCLASS_IMPL(TPanel)

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                   csDoubleClicks, csReplicatable});
  FWidth = 185;
  FHeight = 41;
  SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
  FBevelInner = Value;
  Changed();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
  FBevelOuter = Value;
  Changed();
}

void TCustomPanel::SetBevelWidth(int Value) {
  FBevelWidth = Value < 1 ? 1 : Value;
  Changed();
}

void TCustomPanel::SetBorderWidth(int Value) {
  FBorderWidth = Value < 0 ? 0 : Value;
  Changed();
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  inherited::AdjustClientRect(Rect);
  int Inset = FBorderWidth;
  if (FBevelOuter != bvNone) Inset += FBevelWidth;
  if (FBevelInner != bvNone) Inset += FBevelWidth;
  InflateRect(&Rect, -Inset, -Inset);
}

void TCustomPanel::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  auto Bevel = [&](TPanelBevel Kind) {
    if (Kind == bvNone) return;
    if (Kind == bvSpace) {
      Frame3D(C, R, Color(), Color(), FBevelWidth);
      return;
    }
    bool Lowered = Kind == bvLowered;
    Frame3D(C, R, Lowered ? clBtnShadow : clBtnHighlight, Lowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
  };
  Bevel(FBevelOuter);
  Frame3D(C, R, Color(), Color(), FBorderWidth);
  Bevel(FBevelInner);
  C->Brush()->SetColor(Color());
  C->Brush()->SetStyle(bsSolid);
  C->FillRect(R);
  AnsiString Text = Caption();
  if (Text.empty()) return;
  static const UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  C->Font()->Assign(Font());
  C->Brush()->SetStyle(bsClear);
  HDC DC = C->Handle();
  C->TextExtent(" ");  // the canvas selects its font and brush
  UINT Flags = static_cast<UINT>(DrawTextBiDiModeFlags(
      static_cast<int>(DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | Alignments[FAlignment])));
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(Font()->Color()));
  DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &R, Flags);
}

void TCustomPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      Invalidate();
      break;
    default: inherited::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------------
// TBevel

TCLASS_IMPL(TBevel)

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  FWidth = 50;
  FHeight = 50;
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* C = Canvas();
  TColor First = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor Second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  int W = Width(), H = Height();
  TRect R = Rect(0, 0, W, H);
  auto Line = [&](TColor Color, int X1, int Y1, int X2, int Y2) {
    C->Pen()->SetColor(Color);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  switch (FShape) {
    case bsBox: Frame3D(C, R, First, Second, 1); break;
    case bsFrame:
      // Two nested frames, shadow then highlight, one pixel apart.
      R.right -= 1;
      R.bottom -= 1;
      Frame3D(C, R, First, First, 1);
      R = Rect(1, 1, W, H);
      Frame3D(C, R, Second, Second, 1);
      break;
    case bsTopLine:
      Line(First, 0, 0, W, 0);
      Line(Second, 0, 1, W, 1);
      break;
    case bsBottomLine:
      Line(First, 0, H - 2, W, H - 2);
      Line(Second, 0, H - 1, W, H - 1);
      break;
    case bsLeftLine:
      Line(First, 0, 0, 0, H);
      Line(Second, 1, 0, 1, H);
      break;
    case bsRightLine:
      Line(First, W - 2, 0, W - 2, H);
      Line(Second, W - 1, 0, W - 1, H);
      break;
    case bsSpacer: break;
  }
}

// ---------------------------------------------------------------------------------
// TImage

TCLASS_IMPL(TImage)

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
  FWidth = 105;
  FHeight = 105;
  FPicture = NewObject<TPicture>();
  FPicture->OnChange = TNotifyEvent::Bind<&TImage::PictureChanged>(this);
}

TImage::~TImage() { FreeAndNil(FPicture); }

TCanvas* TImage::Canvas() {
  if (!FPicture->Graphic()) {
    TOwned<TBitmap> Bitmap(NewObject<TBitmap>(std::max(Width(), 1), std::max(Height(), 1)));
    FPicture->SetGraphic(Bitmap.get());
  }
  auto* Bitmap = ObjectAs<TBitmap>(FPicture->Graphic());
  if (!Bitmap) throw EInvalidOperation(SImageCanvasNeedsBitmap);
  return Bitmap->Canvas();
}

void TImage::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  Invalidate();
}

void TImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  Invalidate();
}

void TImage::SetProportional(bool Value) {
  if (FProportional == Value) return;
  FProportional = Value;
  Invalidate();
}

void TImage::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (TGraphic* Graphic = FPicture->Graphic()) Graphic->SetTransparent(Value);
  Invalidate();
}

void TImage::SetAutoSize(bool Value) {
  TControl::SetAutoSize(Value);
  AdjustSize();
}

void TImage::AdjustSize() {
  if (!AutoSize() || ComponentState().Contains(csLoading)) return;
  if (FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
}

void TImage::Loaded() {
  inherited::Loaded();
  AdjustSize();
}

TRect TImage::DestRect() {
  int W = FPicture->Width(), H = FPicture->Height();
  int CW = Width(), CH = Height();
  if (W <= 0 || H <= 0) return Rect(0, 0, 0, 0);
  if (FStretch || (FProportional && (W > CW || H > CH))) {
    if (FProportional) {
      // The largest size with the picture's shape that fits.
      if (static_cast<long long>(W) * CH > static_cast<long long>(H) * CW) {
        H = static_cast<int>(static_cast<long long>(H) * CW / W);
        W = CW;
      } else {
        W = static_cast<int>(static_cast<long long>(W) * CH / H);
        H = CH;
      }
    } else {
      W = CW;
      H = CH;
    }
  }
  int X = 0, Y = 0;
  if (FCenter || FProportional) {
    X = (CW - W) / 2;
    Y = (CH - H) / 2;
  }
  return Rect(X, Y, X + W, Y + H);
}

void TImage::Paint() {
  TCanvas* C = TGraphicControl::Canvas();
  if (TGraphic* Graphic = FPicture->Graphic(); Graphic && !Graphic->Empty()) {
    FDrawing = true;
    auto Drawn = ScopeExit([&] { FDrawing = false; });
    C->StretchDraw(DestRect(), Graphic);
  }
}

void TImage::PictureChanged(TObject* /*Sender*/) {
  if (TGraphic* Graphic = FPicture->Graphic(); Graphic && Graphic->Transparent() != FTransparent)
    Graphic->SetTransparent(FTransparent);
  if (FDrawing) return;
  AdjustSize();
  Invalidate();
}

// ---------------------------------------------------------------------------------
// TSplitter

TCLASS_IMPL(TSplitter)

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetAlign(alLeft);
  FWidth = 3;
  FHeight = 100;
  SetCursor(crHSplit);
}

void TSplitter::SetBeveled(bool Value) {
  FBeveled = Value;
  Invalidate();
}

TControl* TSplitter::ResizeControl() {
  TWinControl* Owner = Parent();
  if (!Owner) return nullptr;
  // The control aligned the same way whose edge touches the splitter's near side.
  TPoint Probe;
  switch (Align()) {
    case alLeft: Probe = Point(Left() - 1, Top()); break;
    case alRight: Probe = Point(Left() + Width(), Top()); break;
    case alTop: Probe = Point(Left(), Top() - 1); break;
    case alBottom: Probe = Point(Left(), Top() + Height()); break;
    default: return nullptr;
  }
  for (int I = 0; I < Owner->ControlCount(); ++I) {
    TControl* Control = Owner->Controls(I);
    if (Control == this || !Control->Visible() || Control->Align() != Align()) continue;
    TRect R = Control->BoundsRect();
    bool Touches = Horizontal() ? (Probe.y >= R.top && Probe.y < R.bottom)
                                : (Probe.x >= R.left && Probe.x < R.right);
    if (Touches) return Control;
  }
  return nullptr;
}

void TSplitter::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  C->Brush()->SetColor(Color());
  C->Brush()->SetStyle(bsSolid);
  C->FillRect(R);
  if (FBeveled) Frame3D(C, R, clBtnHighlight, clBtnShadow, 1);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FControl = ResizeControl();
  FDownPos = ClientToScreen(Point(X, Y));
  if (FControl) FStartSize = Horizontal() ? FControl->Height() : FControl->Width();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FControl || !Shift.Contains(ssLeft)) return;
  TPoint P = ClientToScreen(Point(X, Y));
  int Delta = Horizontal() ? P.y - FDownPos.y : P.x - FDownPos.x;
  // Moving away from the control makes a left or top one larger, a right or bottom one
  // smaller.
  if (Align() == alRight || Align() == alBottom) Delta = -Delta;
  int NewSize = std::max(FStartSize + Delta, FMinSize);
  if (Horizontal())
    FControl->SetHeight(NewSize);
  else
    FControl->SetWidth(NewSize);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (!FControl) return;
  int Size = Horizontal() ? FControl->Height() : FControl->Width();
  FControl = nullptr;
  if (Size != FStartSize && OnMoved.Assigned()) OnMoved(this);
}

// ---------------------------------------------------------------------------------
// The unit's start and end

void InitExtCtrls() {
  RegisterClass(&TTimer::StaticClass());
  RegisterClass(&TPanel::StaticClass());
  RegisterClass(&TBevel::StaticClass());
  RegisterClass(&TImage::StaticClass());
  RegisterClass(&TSplitter::StaticClass());
  {
    TPublish<TTimer> P;
    P.Prop("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
    P.Prop("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000u);
    P.Prop("OnTimer", &TTimer::OnTimer);
  }
  {
    TPublish<TCustomPanel> P;
    P.Prop("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment).Default(taCenter);
    P.Prop("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner);
    P.Prop("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter).Default(bvRaised);
    P.Prop("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
    P.Prop("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle);
    P.Prop("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth);
    P.Prop("Caption", &TCustomPanel::Caption, &TCustomPanel::SetCaption);
    P.Prop("ParentColor", &TCustomPanel::ParentColor, &TCustomPanel::SetParentColor).Default(false);
  }
  {
    TPublish<TBevel> P;
    P.Prop("Shape", &TBevel::Shape, &TBevel::SetShape);
    P.Prop("Style", &TBevel::Style, &TBevel::SetStyle);
  }
  {
    TPublish<TImage> P;
    P.Prop("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize);
    P.Prop("Center", &TImage::Center, &TImage::SetCenter);
    P.Prop("Picture", &TImage::Picture, &TImage::SetPicture);
    P.Prop("Proportional", &TImage::Proportional, &TImage::SetProportional);
    P.Prop("Stretch", &TImage::Stretch, &TImage::SetStretch);
    P.Prop("Transparent", &TImage::Transparent, &TImage::SetTransparent);
  }
  {
    TPublish<TSplitter> P;
    P.Prop("Align", &TSplitter::Align, &TSplitter::SetAlign).Default(alLeft);
    P.Prop("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled);
    P.Prop("Cursor", &TSplitter::Cursor, &TSplitter::SetCursor)
        .Idents(IdentToCursor, CursorToIdent)
        .Default(crHSplit);
    P.Prop("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
    P.Prop("OnMoved", &TSplitter::OnMoved);
  }
}

void DoneExtCtrls() {
  for (TClass Class : {&TSplitter::StaticClass(), &TImage::StaticClass(), &TBevel::StaticClass(),
                       &TCustomPanel::StaticClass(), &TTimer::StaticClass()})
    UnRegisterPublished(Class);
  for (TClass Class : {&TSplitter::StaticClass(), &TImage::StaticClass(), &TBevel::StaticClass(),
                       &TPanel::StaticClass(), &TTimer::StaticClass()})
    UnRegisterClass(Class);
}
