// The list boxes the image and pick editors drop down.
//
// A popup list box is an owner-drawn list box with variable item heights whose window
// is made as a child of its editor and then detached from it: it shows as a top-level
// tool window over everything, while the owner-draw requests still go to the editor
// window it was made under, which hands them back to the list. The list is told it
// has the focus without being given it, so it paints its selection as focused while
// the keyboard stays with the editor; a press in it never activates it. Its border
// and shadow are drawn in the non-client area with the popups' frame.
#pragma once

#include <windows.h>

#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "editors/dxCntner_Popup.h"

class TdxInplaceDropDownEdit;

// The tick count in milliseconds (GetTickCount); tests replace it.
using TdxTickCountProc = DWORD (*)();
extern TdxTickCountProc dxTickCountProc;

class TCustomdxPopupListBox : public TCustomListBox {
  TCLASS_DECL(TCustomdxPopupListBox, TCustomListBox)
 public:
  explicit TCustomdxPopupListBox(TComponent* AOwner);

  // A new border or shadow recreates the window.
  TdxPopupBorder PopupBorder() const { return FPopupBorder; }
  void SetPopupBorder(TdxPopupBorder Value);
  bool Shadow() const { return FShadow; }
  void SetShadow(bool Value);
  int ShadowSize() const { return FShadowSize; }
  // The item under the mouse becomes the selected one.
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value) { FHotTrack = Value; }
  // The item height last measured.
  int ItemHeightValue() const { return FItemHeightValue; }
  // The editor the list drops down for.
  TdxInplaceDropDownEdit* Editor() const { return FEditor; }
  void SetEditor(TdxInplaceDropDownEdit* Value) { FEditor = Value; }

  // Sized by its client area when it drops down.
  using TCustomListBox::SetClientSize;
  // The height an item is measured at.
  int MeasuredItemHeight();
  // The width of Text in the list's font.
  int TextWidth(const AnsiString& Text);

  // The user's input to the list is a step of its editor's (TdxInplaceEdit::TUserStep).
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void MeasureItem(int Index, int& Height) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  TdxPopupBorder FPopupBorder = pbDefault;
  bool FHotTrack = true;
  int FItemHeightValue = 0;
  bool FShadow = false;
  int FShadowSize = 2;
  TdxInplaceDropDownEdit* FEditor = nullptr;
};

// The image editor's list: each item's object is its image index (-2 for none),
// drawn from Images left of the description.
class TdxPopupImageListBox : public TCustomdxPopupListBox {
  TCLASS_DECL(TdxPopupImageListBox, TCustomdxPopupListBox)
 public:
  using TCustomdxPopupListBox::TCustomdxPopupListBox;

  TCustomImageList* Images() const { return FImages; }
  // Free-notified; a list given recreates the window.
  void SetImages(TCustomImageList* Value);
  // Descriptions wrap inside the item.
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value) { FMultiLine = Value; }

  static TObject* ImageIndexObject(int Index) { return reinterpret_cast<TObject*>(static_cast<INT_PTR>(Index)); }
  static int ObjectImageIndex(TObject* Object) { return static_cast<int>(reinterpret_cast<INT_PTR>(Object)); }

 protected:
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TCustomImageList* FImages = nullptr;
  bool FMultiLine = false;
};

// The pick editor's list: typed characters select the first item that starts with
// what was typed within two seconds of the previous key (at most 32 characters).
class TCustomdxPopupPickListBox : public TCustomdxPopupListBox {
  TCLASS_DECL(TCustomdxPopupPickListBox, TCustomdxPopupListBox)
 public:
  using TCustomdxPopupListBox::TCustomdxPopupListBox;

  const AnsiString& SearchText() const { return FSearchText; }

 protected:
  void KeyPress(char& Key) override;

 private:
  AnsiString FSearchText;
  DWORD FSearchTickCount = 0;
};

// A left release closes the editor's list, accepting when it is inside the list.
class TdxPopupPickListBox : public TCustomdxPopupPickListBox {
  TCLASS_DECL(TdxPopupPickListBox, TCustomdxPopupPickListBox)
 public:
  using TCustomdxPopupPickListBox::TCustomdxPopupPickListBox;

 protected:
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};
