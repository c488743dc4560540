// A single-line edit that does all its own work in a plain custom control window: it
// keeps the text's caret, selection and horizontal scroll position itself, draws the
// text with ExtTextOut, handles keys, mouse and clipboard, and can be transparent over
// its parent. A thread-wide call-window hook repaints transparent edits when a
// neighbour is resized or painted over them; it lives exactly while edits do.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "classlib/Controls.h"

class TCustomXPEdit;

// The frame and background colours of an edit.
class TXPEditColors : public TPersistent {
  TCLASS_DECL(TXPEditColors, TPersistent)
 public:
  explicit TXPEditColors(TCustomXPEdit* AOwner) : FOwner(AOwner) {}
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  // Also the owner's Color.
  void SetColor(TColor Value);
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value);
  TColor DisabledDarkColor() const { return FDisabledDarkColor; }
  void SetDisabledDarkColor(TColor Value);
  TColor DisabledLightColor() const { return FDisabledLightColor; }
  void SetDisabledLightColor(TColor Value);

 private:
  void Changed();

  TCustomXPEdit* FOwner;
  TColor FColor = clWindow;
  TColor FFrameColor = static_cast<TColor>(RGB(127, 157, 185));
  TColor FDisabledDarkColor = static_cast<TColor>(RGB(172, 168, 153));
  TColor FDisabledLightColor = static_cast<TColor>(RGB(236, 233, 216));
};

class TCustomXPEdit : public TCustomControl {
  TCLASS_DECL(TCustomXPEdit, TCustomControl)
 public:
  // 121 x 21, tab stop, font colour clHotLight, transparent; joins the list of live
  // edits (the first installs the hook).
  explicit TCustomXPEdit(TComponent* AOwner);
  ~TCustomXPEdit() override;

  void Invalidate() override;
  void Dispatch(TMessage& Message) override;

  TXPEditColors* Colors() const { return FColors; }
  void SetColors(TXPEditColors* Value) { FColors->Assign(Value); }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value) { FMaxLength = Value; }
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value) { FOEMConvert = Value; }
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  // 0 as typed, 1 upper case, 2 lower case.
  int CharCase() const { return FCharCase; }
  void SetCharCase(int Value) { FCharCase = Value; }
  bool EditAutoSize() const { return FAutoSize; }
  void SetEditAutoSize(bool Value) { FAutoSize = Value; }

  int CaretIndex() const { return FCaretIndex; }
  int FirstVisible() const { return FFirstVisible; }
  int VisibleCount() const { return FVisibleCount; }
  int FullVisibleCount() const { return FFullVisibleCount; }
  const AnsiString& DisplayText() const { return FDisplayText; }

  int SelStart() const { return std::min(FSelAnchor, FSelEnd); }
  void SetSelStart(int Value);
  int SelLength() const { return std::abs(FSelEnd - FSelAnchor); }
  void SetSelLength(int Value);
  AnsiString SelText() const;

  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void SelectAll();
  void InsertText(const AnsiString& S);
  void DeleteSelection();
  void DeleteBackward(int N);
  void DeleteForward(int N);
  // The character index under a client x (the walk starts at FirstVisible).
  int CharIndexAt(int X);

  TNotifyEvent OnChange;

 protected:
  virtual void MoveCaret(int Index);
  virtual void CreateEditCaret();
  virtual void DestroyEditCaret();
  virtual void SetHotUnderline(bool On);
  virtual void EndMouseSelect() { FMouseSelecting = false; }
  // The client rectangle shrunk by 2 on every side.
  virtual void GetTextRect(TRect& Rect);
  virtual void PaintText(const TRect& Rect, TColor Back, TColor Text, TColor SelBack,
                         TColor SelText, TColor Frame, TColor Ring);

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  virtual void Change();
  void DblClick() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  friend LRESULT CALLBACK XPEditHookProc(int Code, WPARAM WParam, LPARAM LParam);
  int TextLength() const { return static_cast<int>(Text().size()); }
  AnsiString WindowText() const { return Text(); }
  void SetWindowTextInside(const AnsiString& Value);
  void SetCaretIndex(int Index);
  void SetFirstVisible(int Index);
  void UpdateCaretPos();
  void UpdateVisibleCounts();
  // The scroll position and the visible counts after the text changed at the caret.
  void RefreshScrollAfterEdit();
  void RefreshDisplayText();
  // The canvas's DC with the edit's font selected, for measuring and drawing text.
  HDC TextDC();
  // The width of DisplayText's characters [From, To) in the canvas font.
  int TextWidthOf(int From, int To);
  int AvailableWidth();
  int Overhang();
  int FirstFittingIndex(int Index);
  int PreviousWordStart() const;
  int NextWordStart() const;
  bool ShiftHeld() const;
  void InvalidateUnderneath();

  bool FAutoSize = true;
  int FCaretIndex = 0;
  int FVisibleCount = 0;
  int FFullVisibleCount = 0;
  int FFirstVisible = 0;
  int FTextHeight = 0;
  bool FMouseSelecting = false;
  int FSelAnchor = 0;
  int FSelEnd = 0;
  bool FReadOnly = false;
  bool FOEMConvert = false;
  char FPasswordChar = '\0';
  AnsiString FDisplayText;
  int FMaxLength = 0;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  int FCharCase = 0;
  TXPEditColors* FColors = nullptr;
  bool FTransparent = false;
  bool FUpdating = false;
};

// The number of live edits and whether the repaint hook is installed (for the tests).
int XPEditCount();
bool XPEditHookInstalled();

// The unit's start and end (the end removes a hook left by edits still alive).
void InitXPEdits2();
void DoneXPEdits2();
