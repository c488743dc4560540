#include "editors/dxCntner_Hint.h"

#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"

TCLASS_IMPL(TdxContainerHintWindow)

namespace {

constexpr UINT MeasureFlags = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX;
constexpr UINT PaintFlags = DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP;
// The room around the text: the raised edge and the text's margin.
constexpr int Margin = 6;

// The system's status-bar font, as the record of the first systems reports it.
void TakeStatusFont(TFont* Font) {
  NONCLIENTMETRICSA Metrics{};
  constexpr UINT RecordSize = 340;
  static_assert(RecordSize <= sizeof(Metrics));
  Metrics.cbSize = RecordSize;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, RecordSize, &Metrics, 0)) {
    Font->SetSize(8);
    return;
  }
  Font->SetLogFont(Metrics.lfStatusFont);
}

}  // namespace

TdxContainerHintWindow::TdxContainerHintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  Canvas()->Brush()->SetStyle(bsClear);
}

void TdxContainerHintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WndParent = nullptr;
}

void TdxContainerHintWindow::ActivateHint(const TPoint& Point, const AnsiString& Text, TFont* Font) {
  ActivateHintEx(Point, GetSystemMetrics(SM_CXSCREEN), false, Font, Text);
}

void TdxContainerHintWindow::ActivateHintEx(const TPoint& Point, int MaxWidth, bool TakeSize, TFont* Font,
                                            const AnsiString& Text) {
  SetCaption(Text);
  TFont* CanvasFont = Canvas()->Font();
  TakeStatusFont(CanvasFont);
  CanvasFont->SetColor(clInfoText);
  if (Font) {
    CanvasFont->SetName(Font->Name());
    CanvasFont->SetCharset(Font->Charset());
    if (TakeSize) CanvasFont->SetSize(Font->Size());
  }
  const int ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (MaxWidth < 1) MaxWidth = ScreenWidth;
  RECT R{0, 0, MaxWidth, 0};
  {
    TScreenDC Screen;
    TSelection Selected(Screen.DC(), CanvasFont->Handle());
    DrawTextA(Screen.DC(), Text.c_str(), static_cast<int>(Text.size()), &R, MeasureFlags);
  }
  const int Width = R.right - R.left + Margin;
  const int Height = R.bottom - R.top + Margin;
  int X = Point.x;
  int Y = Point.y;
  if (X + Width > ScreenWidth) X = ScreenWidth - Width;
  if (Y + Height > ScreenHeight) Y = ScreenHeight - Height;
  if (X < 0) X = 0;
  if (Y < 0) Y = 0;
  SetBounds(X, Y, Width, Height);
  SetWindowPos(Handle(), HWND_TOPMOST, X, Y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Invalidate();
}

void TdxContainerHintWindow::Paint() {
  HDC DC = Canvas()->Handle();
  RECT R = GetClientRect();
  DrawEdge(DC, &R, BDR_RAISEDOUTER, BF_RECT);
  InflateRect(&R, -1, -1);
  R.left += 2;
  R.top += 2;
  const AnsiString Text = Caption();
  TFont* Font = Canvas()->Font();
  TSavedTextState Saved(DC);
  Saved.SelectFont(Font->Handle());
  SetTextColor(DC, ColorToRGB(Font->Color()));
  SetBkMode(DC, TRANSPARENT);
  DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &R, PaintFlags);
}

void TdxContainerHintWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  inherited::Dispatch(Message);
}
