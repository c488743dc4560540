// The blob popup's context menu: picture commands over the toolbar's glyphs, or the
// memo's editing commands; emptied and filled anew each time it opens.
#include <richedit.h>

#include <algorithm>

#include "classlib/Clipbrd.h"
#include "classlib/Forms.h"
#include "editors/dxEditStrings.h"
#include "editors/dxEditTexts.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_BlobPopup.h"

namespace {

enum TMemoCommand { mcUndo = -1, mcRedo = -2, mcCut = -3, mcCopy = -4, mcPaste = -5, mcDelete = -6, mcSelectAll = -7 };
enum TPictCommand { pcCut, pcCopy, pcPaste, pcDelete, pcLoad, pcSave };
// No command: separators.
constexpr int NoCommand = -100;

}  // namespace

bool TCustomdxBlobPopup::EditorCanModify() {
  bool Allow = true;
  if (OnCanModify.Assigned()) OnCanModify(this, Allow);
  return Allow;
}

void TCustomdxBlobPopup::AddMenuItem(const AnsiString& Caption, int Tag, bool Enabled, TShortCut Key) {
  auto* Item = NewObject<TMenuItem>(FMenu);
  Item->SetCaption(Caption);
  if (Tag == NoCommand) {
    FMenu->Items()->Add(Item);
    return;
  }
  Item->SetEnabled(Enabled);
  Item->SetShortCut(Key);
  Item->SetTag(Tag);
  if (Tag >= 0) Item->SetImageIndex(Tag);
  Item->OnClick = TNotifyEvent::Bind<&TCustomdxBlobPopup::MenuClick>(this);
  FMenu->Items()->Add(Item);
}

void TCustomdxBlobPopup::FillPictureMenu() {
  FMenu->SetImages(PopupToolImages());
  const bool Full = !PictureEmpty();
  const bool Editable = !FReadOnly;
  AddMenuItem(dxPopupToolBarCaption(ptbCut), pcCut, Full && Editable, ShortCut('X', {ssCtrl}));
  AddMenuItem(dxPopupToolBarCaption(ptbCopy), pcCopy, Full, ShortCut('C', {ssCtrl}));
  AddMenuItem(dxPopupToolBarCaption(ptbPaste), pcPaste, Editable && Clipboard()->HasFormat(ClipboardFormat),
              ShortCut('V', {ssCtrl}));
  AddMenuItem(dxPopupToolBarCaption(ptbDelete), pcDelete, Full && Editable);
  AddMenuItem("-", NoCommand, true);
  if (!ShowExPopupItems) return;
  AddMenuItem(dxPopupToolBarCaption(ptbLoad), pcLoad, Editable);
  AddMenuItem(dxPopupToolBarCaption(ptbSave), pcSave, Full);
}

void TCustomdxBlobPopup::FillMemoMenu() {
  FMenu->SetImages(nullptr);
  const bool Window = HandleAllocated();
  CHARRANGE Sel{0, 0};
  if (Window) SendMessageA(FHandle, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&Sel));
  const bool Selection = Sel.cpMax > Sel.cpMin;
  const bool Editable = !FReadOnly && !FHolding;
  GETTEXTLENGTHEX Query{GTL_NUMCHARS, CP_ACP};
  const LRESULT Length =
      Window ? SendMessageA(FHandle, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&Query), 0) : 0;
  AddMenuItem(dxEditText(IDS_DXEDIT_UNDO), mcUndo,
              Window && !FHolding && SendMessageA(FHandle, EM_CANUNDO, 0, 0) != 0);
  AddMenuItem(dxEditText(IDS_DXEDIT_REDO), mcRedo,
              Window && !FHolding && SendMessageA(FHandle, EM_CANREDO, 0, 0) != 0);
  AddMenuItem("-", NoCommand, true);
  AddMenuItem(dxEditText(IDS_DXEDIT_CUT), mcCut, Selection && Editable);
  AddMenuItem(dxEditText(IDS_DXEDIT_COPY), mcCopy, Selection);
  AddMenuItem(dxEditText(IDS_DXEDIT_PASTE), mcPaste,
              Editable && Window && SendMessageA(FHandle, EM_CANPASTE, 0, 0) != 0);
  AddMenuItem(dxEditText(IDS_DXEDIT_DELETE), mcDelete, Selection && Editable);
  AddMenuItem("-", NoCommand, true);
  AddMenuItem(dxEditText(IDS_DXEDIT_SELECTALL), mcSelectAll, Sel.cpMax - Sel.cpMin != Length);
}

void TCustomdxBlobPopup::ShowMenu(TPoint At) {
  if (!FMenu) FMenu = NewObject<TPopupMenu>(this);
  FMenu->Items()->Clear();
  if (IsMemo())
    FillMemoMenu();
  else
    FillPictureMenu();
  FMenu->SetPopupComponent(this);
  FMenu->Popup(At.x, At.y);
}

void TCustomdxBlobPopup::WMContextMenu(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Result != 0 || !HandleAllocated()) return;
  for (TControl* Control = this; Control; Control = Control->Parent())
    if (Control->PopupMenu()) return;
  if (!IsMemo() && !ShowPicturePopup) return;
  TPoint Pos{Message.XPos(), Message.YPos()};
  if (Pos.x == -1 && Pos.y == -1) Pos = dxCaretMenuPoint(FHandle);
  Message.Result = 1;
  ShowMenu(Pos);
}

void TCustomdxBlobPopup::MenuClick(TObject* Sender) {
  if (auto* Item = ObjectAs<TMenuItem>(Sender)) MenuCommand(Item->Tag());
}

void TCustomdxBlobPopup::MenuCommand(int Tag) {
  if (Tag < 0) {
    if (!HandleAllocated() || !IsMemo()) return;
    switch (Tag) {
      case mcUndo: SendMessageA(FHandle, EM_UNDO, 0, 0); break;
      case mcRedo: SendMessageA(FHandle, EM_REDO, 0, 0); break;
      case mcCut: SendMessageA(FHandle, WM_CUT, 0, 0); break;
      case mcCopy: SendMessageA(FHandle, WM_COPY, 0, 0); break;
      case mcPaste:
        if (!FReadOnly) SendMessageA(FHandle, WM_PASTE, 0, 0);
        break;
      case mcDelete: SendMessageA(FHandle, WM_CLEAR, 0, 0); break;
      case mcSelectAll: {
        CHARRANGE All{0, -1};
        SendMessageA(FHandle, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&All));
        break;
      }
      default: break;
    }
    return;
  }
  if (IsMemo()) return;
  const bool Full = !PictureEmpty();
  switch (Tag) {
    case pcCut:
      if (!Full) break;
      Clipboard()->Assign(FPicture);
      if (!FReadOnly && EditorCanModify()) FPicture->SetGraphic(nullptr);
      break;
    case pcCopy:
      if (Full) Clipboard()->Assign(FPicture);
      break;
    case pcPaste:
      if (FReadOnly || !Clipboard()->HasFormat(ClipboardFormat) || !EditorCanModify()) break;
      PastePictureFromClipboard(FPicture, ClipboardFormat);
      break;
    case pcDelete:
      if (Full && !FReadOnly) FPicture->SetGraphic(nullptr);
      break;
    case pcLoad: {
      if (FReadOnly) break;
      if (AnsiString FileName; ExecuteOpenPictureDialog(PictureFilter, FileName) && EditorCanModify())
        FPicture->LoadFromFile(FileName);
      break;
    }
    case pcSave:
      if (Full) SavePictureWithDialog(FPicture, PictureFilter);
      break;
    default: break;
  }
}
