// The blob editor's sizeable popup: a rich edit memo for text blobs, a painted picture
// pane for picture blobs. Its button bar (OK and Cancel, or Close alone while read-only)
// lives in the non-client area beside a size grip; the grip corner is the one away
// from the editor, chosen when the popup is placed. Closing with a changed content
// hands it back to the editor through the close event, at most once per opening.
#pragma once

#include <windows.h>

#include "classlib/Clipbrd.h"
#include "classlib/Graphics.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "editors/dxCntner_Popup.h"
#include "editors/dxDrawing.h"
#include "editors/dxExEdtr_Graphic.h"
#include "editors/dxWrapGuard.h"

enum TdxBlobEditKind { bekMemo, bekPict, bekOle, bekBlob };
TENUM_INFO(TdxBlobEditKind, "bekMemo", "bekPict", "bekOle", "bekBlob")
enum TdxBlobPaintStyle { bpsDefault, bpsIcon, bpsText };
TENUM_INFO(TdxBlobPaintStyle, "bpsDefault", "bpsIcon", "bpsText")

// The bar's buttons, also their caption indexes.
enum TdxBlobPopupButton { bpbOK, bpbCancel, bpbClose, bpbNone = -1 };

using TdxBlobPopupResizeEvent = TEvent<void(TObject* Sender, int Width, int Height)>;

// The button bar's measures, taken from the popup font.
struct TdxBlobBarMetrics {
  int Spacing = 0;       // S: above and below the buttons
  int ButtonHeight = 0;  // H
  int ButtonWidth = 0;   // W: the widest shown caption with "00"
  int Gap = 0;           // G: between buttons
  int Separator = 0;     // E
  int GripAllowance = 0;
  int Height() const { return 2 * Spacing + Separator + ButtonHeight; }
};

class TCustomdxBlobPopup : public TdxInplacePopupControl {
  TCLASS_DECL(TCustomdxBlobPopup, TdxInplacePopupControl)
 public:
  explicit TCustomdxBlobPopup(TComponent* AOwner);
  ~TCustomdxBlobPopup() override;

  // ----- Settings the editor copies in before each opening.
  TdxBlobEditKind Kind() const { return FKind; }
  // A new kind makes a new window (memo and picture panes are different classes).
  void SetKind(TdxBlobEditKind Value);
  bool ReadOnly() const { return FReadOnly; }
  // A change recreates the window: the bar shows other buttons.
  void SetReadOnly(bool Value);
  bool SizeablePopup() const { return FSizeablePopup; }
  void SetSizeablePopup(bool Value) {
    FSizeablePopup = Value;
    FMetricsValid = false;
  }
  bool AlwaysSaveText = true;
  TEditCharCase MemoCharCase = ecNormal;
  bool MemoHideScrollBars = true;
  int MemoMaxLength = 0;
  bool MemoOEMConvert = false;
  TScrollStyle MemoScrollBars = ssNone;
  bool MemoSelectionBar = true;
  bool MemoWantReturns = true;
  bool MemoWantTabs = true;
  bool MemoWordWrap = true;
  bool PictureAutoSize = true;
  bool ShowExPopupItems = true;
  bool ShowPicturePopup = true;
  UINT ClipboardFormat = CF_PICTURE;
  TClass GraphicClass = nullptr;
  AnsiString PictureFilter;
  TdxGraphicEditTransparency PictureTransparency() const { return FPictureTransparency; }
  void SetPictureTransparency(TdxGraphicEditTransparency Value);
  bool Cancelled() const { return FCancelled; }
  void SetCancelled(bool Value) { FCancelled = Value; }
  // Where the size grip sits; the bar lies along the grip's edge.
  TdxCorner GripCorner() const { return FGripCorner; }
  void SetGripCorner(TdxCorner Value);

  // ----- Content.
  TPicture* Picture() const { return FPicture; }
  // The memo's text (kept while there is no window). With word wrap, a text no wrapping
  // width can hold raises EInvalidOperation (SMemoTextTooLong), and the old one stays;
  // so, with word wrap or without, does a text holding a tab the control cannot place,
  // or too many tabs (SMemoTooManyTabs; see TdxWrapGuard).
  AnsiString MemoText();
  void SetMemoText(const AnsiString& Value);
  // The message a text the memo cannot hold is refused with.
  const char* Refusal(const AnsiString& Text) const;
  // The editor's value, kept whole: while the control cannot hold it, in the pane's font
  // of the moment, the window shows, read-only, the longest start of it the control
  // holds, and every change to it is refused (the user's with a beep) until a text is
  // given.
  void SetMemoValue(const AnsiString& Value);
  bool HoldsValue() const { return FHolding; }
  bool GetModified();
  void SetModified(bool Value);

  // ----- The button bar.
  // Measured on first use after the font, the border or the buttons changed.
  TdxBlobBarMetrics BarMetrics();
  // Shown buttons in bar order (OK, Cancel or Close alone).
  int ShownButtons(TdxBlobPopupButton* Buttons);
  // The window rectangle (origin at the window's top-left) of a shown button, or an
  // empty one.
  TRect ButtonRect(TdxBlobPopupButton Button);
  // The bar's rectangle in window coordinates (after the border and the separator's
  // edge); empty without a window.
  TRect BarRect();
  TdxBlobPopupButton PressedButton() const { return FPressedButton; }
  // Cancel and Close set the cancelled flag; every button closes; OK then hands the
  // content back.
  void ButtonClick(TdxBlobPopupButton Button);
  // The smallest window size the bar allows.
  TPoint MinTrackSize();

  // ----- The context menu (made on first use, filled anew each time), or none.
  TPopupMenu* ContextMenu() const { return FMenu; }
  // Runs one of the menu's commands by its tag.
  void MenuCommand(int Tag);

  // The hand-back: the close event once, when not cancelled and modified.
  void DoHandBack();
  void ClosePopup() override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  // The picture pane's scroll positions.
  int ScrollX() const { return FScrollPos[0]; }
  int ScrollY() const { return FScrollPos[1]; }
  void ScrollTo(int X, int Y);

  TNotifyEvent OnClose;
  TNotifyEvent OnChange;
  TdxBlobPopupResizeEvent OnResize;
  // Tab without MemoWantTabs: the grid moves to the next (or previous) column.
  TEvent<void(TObject* Sender, bool Backward)> OnTabOut;
  // Asked before a menu command changes the picture (Allow starts true).
  TEvent<void(TObject* Sender, bool& Allow)> OnCanModify;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

 private:
  bool IsMemo() const { return FKind == bekMemo; }
  bool BarAtBottom() const { return FGripCorner == coBottomLeft || FGripCorner == coBottomRight; }
  TRect InnerRect();
  void DrawBar(HDC DC);
  void DrawButton(HDC DC, TRect R, TdxBlobPopupButton Button, bool Pushed, bool Greyed);
  TdxBlobPopupButton ButtonAt(const TPoint& WindowPoint);
  bool PictureEmpty() const;
  bool EditorCanModify();
  void PictureChanged(TObject* Sender);
  void ApplyTransparency();
  void ApplyCharCase();
  void TextChanged();
  // What the window shows in Font: FKeptText, or, while the control cannot hold it in
  // Font, the longest start of it the control holds.
  AnsiString ShownText(HFONT Font);
  // The window shows it, read-only while it is part of the value; the content is then
  // unmodified.
  void ShowKeptText(HFONT Font);
  // The user's change to a value held is refused with a beep, and a copy copies from the
  // value; true when Message was one of these.
  bool HeldChange(TMessage& Message);
  // The formatting rectangle: the client area less a pixel, and the selection bar.
  RECT TextRect();
  void SetWindowRect();
  void SetCharFormatColor();
  void UpdateScrollBars();
  void ShowMenu(TPoint At);
  void FillPictureMenu();
  void FillMemoMenu();
  void AddMenuItem(const AnsiString& Caption, int Tag, bool Enabled, TShortCut Key = scNone);
  void MenuClick(TObject* Sender);
  void RepaintBar();
  bool AcceleratorHit(char Key, TdxBlobPopupButton Button);

  void WMContextMenu(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMNCLButtonDown(TMessage& Message);
  void WMMouseMoveCaptured(TMessage& Message);
  void WMLButtonUpCaptured(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMScroll(TMessage& Message, int Bar);
  void WMSize(TMessage& Message);
  void WMSysKeyDown(TMessage& Message);
  // With word wrap, a paste or a key that would leave a paragraph too long to wrap
  // safely at the pane's width is refused with a beep (a deletion inside a paragraph
  // never is); the text the pane is given is kept: the control wraps it wider than the
  // pane (see TdxWrapGuard). With word wrap or without, a text holding a tab the
  // control cannot place is refused, the user's with a beep. False when the message is
  // not handled here.
  bool WrapGuarded(TMessage& Message);

  TdxBlobEditKind FKind = bekMemo;
  bool FReadOnly = false;
  bool FSizeablePopup = true;
  bool FCancelled = false;
  TdxCorner FGripCorner = coBottomRight;
  TdxGraphicEditTransparency FPictureTransparency = gtDefault;
  TPicture* FPicture = nullptr;
  bool FPictureModified = false;
  bool FSettingTransparency = false;
  AnsiString FKeptText;
  // True while the window shows part of FKeptText (SetMemoValue).
  bool FHolding = false;
  bool FKeptModified = false;
  bool FCreatingWindow = false;
  TdxWrapGuard FWrapGuard;
  bool FApplyingCase = false;
  bool FShownModified = false;
  TdxBlobPopupButton FPressedButton = bpbNone;
  bool FButtonPushed = false;
  TPopupMenu* FMenu = nullptr;
  int FScrollPos[2] = {0, 0};
  TdxBlobBarMetrics FMetrics;
  bool FMetricsValid = false;
  // The picture pane's buffer for transparent graphics, kept across paints.
  TBitmap* FBuffer = nullptr;
};

// The memo pane's event mask: changes, drag-and-drop ends and selection changes.
inline constexpr LPARAM dxBlobMemoEventMask = 0x80011;

// The popup's published parts.
void InitdxBlobPopup();
void DonedxBlobPopup();
