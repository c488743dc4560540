// The tree list's appearance properties and their setters, the window's border and
// scroll bars, the image lists, the event-firing operations and the selection rule.
#include <algorithm>

#include "classlib/Messages.h"
#include "classlib/ScopeExit.h"
#include "editors/dxCntner_Edit.h"
#include "treelist/dxTL.h"

// ---------------------------------------------------------------------------------
// TCustomdxTreeList: property setters

void TCustomdxTreeList::ChangeColor(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
}

void TCustomdxTreeList::ChangeFlag(bool& Field, bool Value) {
  if (Field == Value) return;
  Field = Value;
  UpdateLayout();
}

void TCustomdxTreeList::ChangeSize(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  UpdateLayout();
}

void TCustomdxTreeList::FontChanged(TObject* /*Sender*/) { UpdateLayout(); }

void TCustomdxTreeList::SetDefaultRowHeight(int Value) {
  Value = std::min(Value, dxTLMaxRowHeight);
  FDefaultRowHeightAssigned = true;
  if (Value == FDefaultRowHeight) return;
  FDefaultRowHeight = Value;
  UpdateLayout();
}

void TCustomdxTreeList::SetPaintStyle(TdxTreeListPaintStyle Value) {
  if (Value == FPaintStyle) return;
  FPaintStyle = Value;
  UpdateLayout();
}

void TCustomdxTreeList::SetTreeLineStyle(TdxTreeLineStyle Value) {
  if (Value == FTreeLineStyle) return;
  FTreeLineStyle = Value;
  Invalidate();
}

void TCustomdxTreeList::SetBorderStyle(TFormBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomdxTreeList::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomdxTreeList::SetLookAndFeel(TdxLookAndFeel Value) {
  if (Value == LookAndFeel()) return;
  AbandonEdit();
  // The container stores the value and recreates the window for the bars' style.
  TCustomdxContainer::SetLookAndFeel(Value);
  UpdateLayout();
  RedrawExpandGlyphs();
}

void TCustomdxTreeList::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN | WS_TABSTOP;
  Params.WindowClass.style |= CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  if (FBorderStyle == bsNone && LookAndFeel() != lfStandard) Params.Style &= ~WS_BORDER;
  // The flat looks draw their own one-pixel ring (dxTL_Frame.cpp); only the standard
  // look takes the system's border.
  if (FBorderStyle == bsSingle && LookAndFeel() == lfStandard) {
    if (Ctl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  if (IsHorzScrollBar()) Params.Style |= WS_HSCROLL;
  if (IsVertScrollBar()) Params.Style |= WS_VSCROLL;
}

void TCustomdxTreeList::Dispatch(TMessage& Message) {
  if (DispatchDragMessage(Message)) return;
  if (DispatchKeyMessage(Message)) return;
  if (DispatchEditMessage(Message)) return;
  if (DispatchScrollMessage(Message)) return;
  if (DispatchFrameMessage(Message)) return;
  if (DispatchMouseMessage(Message)) return;
  switch (Message.Msg) {
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      inherited::Dispatch(Message);
      UpdateLayout();
      return;
    case CM_PARENTFONTCHANGED:
      inherited::Dispatch(Message);
      if (ParentFont()) {
        // The control's own fonts follow; ParentFont stays set.
        FBandFont->Assign(Font());
        FHeaderFont->Assign(Font());
        FPreviewFont->SetName(Font()->Name());
        FPreviewFont->SetSize(Font()->Size());
        FPreviewFont->SetStyle(Font()->Style());
        FPreviewFont->SetColor(clBlue);
      }
      UpdateLayout();
      return;
    default: break;
  }
  // The border's look follows Ctl3D: the window is made again.
  if (Message.Msg == CM_CTL3DCHANGED && HandleAllocated()) RecreateWnd();
  inherited::Dispatch(Message);
}

void TCustomdxTreeList::SetParent(TWinControl* AParent) {
  inherited::SetParent(AParent);
  if (!AParent) return;
  if (TCustomForm* Form = GetParentForm(this)) FFormName = Form->Name();
}

// ---------------------------------------------------------------------------------
// Image lists

void TCustomdxTreeList::ChangeImages(TCustomImageList*& Field, TChangeLink* Link,
                                     TCustomImageList* Value) {
  if (Field == Value) return;
  BeginUpdate();
  auto Done = ScopeExit([this] { EndUpdate(); });
  // The other list may still be the same component.
  ReplaceImageList(this, Field, Link, Value, Field == (&Field == &FImages ? FStateImages : FImages));
}

void TCustomdxTreeList::ImageListChange(TObject* /*Sender*/) { UpdateLayout(); }

void TCustomdxTreeList::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FStateImages) SetStateImages(nullptr);
  if (AComponent == FInplaceEditor) FInplaceEditor = nullptr;
}

// ---------------------------------------------------------------------------------
// Events and questions

void TCustomdxTreeList::DoEdited(TdxTreeListNode* Node) {
  if (OnEdited.Assigned()) OnEdited(this, Node);
}
void TCustomdxTreeList::DoEditing(TdxTreeListNode* Node, bool& Allow) {
  if (OnEditing.Assigned()) OnEditing(this, Node, Allow);
}
void TCustomdxTreeList::DoChangeLeftCoord() {
  if (OnChangeLeftCoord.Assigned()) OnChangeLeftCoord(this);
}
void TCustomdxTreeList::DoEditChange(TObject* Sender) {
  if (OnEditChange.Assigned()) OnEditChange(Sender);
}
void TCustomdxTreeList::DoEditValidate(TObject* Sender, AnsiString& ErrorText, bool& Accept) {
  if (OnEditValidate.Assigned()) OnEditValidate(Sender, ErrorText, Accept);
}
void TCustomdxTreeList::DoBeginDragNode(TdxTreeListNode* Node) {
  if (OnBeginDragNode.Assigned()) OnBeginDragNode(this, Node);
}
void TCustomdxTreeList::DoHotTrackNode(TdxTreeListHotTrackInfo& Info, TCursor& Cursor) {
  if (OnHotTrackNode.Assigned()) OnHotTrackNode(this, Info, Cursor);
}
void TCustomdxTreeList::DoSelectedCountChange() {
  // Inside a selection bracket the bracket's end reports the count once.
  if (!Destroying() && FSelectionUpdateCount == 0 && OnSelectedCountChange.Assigned())
    OnSelectedCountChange(this);
}

TColor TCustomdxTreeList::GetEditColor() {
  TColor Result = inherited::GetEditColor();
  if (OnGetEditColor.Assigned()) OnGetEditColor(this, Result);
  return Result;
}

bool TCustomdxTreeList::WantTabs() {
  return FOptions.Contains(aoTabs) && GetKeyStateProc(VK_CONTROL) >= 0;
}

bool TCustomdxTreeList::CanNodeSelected(TdxTreeListNode* Node) {
  bool Allow = true;
  if (OnCanNodeSelected.Assigned()) OnCanNodeSelected(this, Node, Allow);
  if (Allow && !IsExtMultiSelect()) {
    TdxTreeListNode* Reference = GetSelectionReferenceNode();
    if (Reference && Reference->Parent() != Node->Parent()) Allow = false;
  }
  return Allow;
}

AnsiString TCustomdxTreeList::GetHeaderLineText() {
  AnsiString Result;
  for (int I = 0; I < GetVisibleColumnCount(); ++I) {
    if (I > 0) Result += '\t';
    Result += GetHeaderColumnText(GetAbsoluteColumnIndex(I));
  }
  return Result + "\r\n";
}

AnsiString TCustomdxTreeList::GetNodeLineText(TdxTreeListNode* Node) {
  AnsiString Result;
  for (int I = 0; I < GetVisibleColumnCount(); ++I) {
    if (I > 0) Result += '\t';
    const int Column = GetAbsoluteColumnIndex(I);
    if (Column >= 0) Result += Node->Strings(Column);
  }
  return Result;
}

// ---------------------------------------------------------------------------------
// TdxTreeList: the data questions' events

void TdxTreeList::GetPreviewText(TdxTreeListNode* Node, AnsiString& Text) {
  inherited::GetPreviewText(Node, Text);
  if (OnGetPreviewText.Assigned()) OnGetPreviewText(this, Node, Text);
}

void TdxTreeList::GetFooterCellText(TdxTreeListNode* Node, int Column, int FooterIndex,
                                    AnsiString& Text) {
  inherited::GetFooterCellText(Node, Column, FooterIndex, Text);
  if (OnGetFooterCellText.Assigned())
    OnGetFooterCellText(this, Node, FindColumn(Column), FooterIndex, Text);
}

bool TdxTreeList::IsExistRowFooterCell(TdxTreeListNode* Node, int Column, int FooterIndex) {
  bool Exist = inherited::IsExistRowFooterCell(Node, Column, FooterIndex);
  if (OnIsExistRowFooterCell.Assigned())
    OnIsExistRowFooterCell(this, Node, FindColumn(Column), FooterIndex, Exist);
  return Exist;
}

bool TdxTreeList::IsLevelFooter(int Level) {
  bool Exist = inherited::IsLevelFooter(Level);
  if (OnIsLevelFooter.Assigned()) OnIsLevelFooter(this, Level, Exist);
  return Exist;
}
