// The popup toolbar on real windows: its layout, the Paste button kept current through
// the clipboard viewer chain, the chain left once, a toolbar closed by the user,
// placement against the work area's edges, and the context menu read through the
// menu seam.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/ImgList.h"
#include "classlib/UpdateScope.h"
#include "editors/dxDrawing.h"
#include "editors/dxExEdtr.h"
#include "editors/dxExEdtr_Graphic.h"
#include "editors/dxExEdtr_PopupToolBar.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;
using uitest::PumpUntil;

// Puts a small bitmap on the clipboard.
void PutBitmapOnClipboard() {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(4, 3));
  Clipboard()->Assign(Bitmap.get());
}

class PopupToolBarTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    Clipboard()->Clear();
  }
  TdxPopupToolBar* NewToolBar() { return Keep(NewObject<TdxPopupToolBar>(nullptr, CreateNew)); }
  // A graphic editor on a shown form, with the commands as the tool window.
  TdxInplaceGraphicEdit* ToolWindowEdit() {
    TForm* Form = ShownForm(300, 200);
    auto* Edit = NewObject<TdxInplaceGraphicEdit>(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(20, 20, 140, 100);
    Edit->PopupToolBar()->SetIsPopupMenu(false);
    Edit->HandleNeeded();
    Pump();
    return Edit;
  }
};

TEST_F(PopupToolBarTest, AnEmptyButtonSetGivesNoClientArea) {
  TdxPopupToolBar* Bar = NewToolBar();
  Bar->SetAlignment(ptaBottom);
  Bar->SetButtons({});
  Bar->HandleNeeded();
  EXPECT_EQ(0, Bar->ClientWidth());
  EXPECT_EQ(22, Bar->ClientHeight());
  Bar->SetAlignment(ptaLeft);
  EXPECT_EQ(0, Bar->ClientHeight());
  for (int I = 0; I < dxPopupToolBarButtonCount; ++I)
    EXPECT_FALSE(Bar->Button(static_cast<TdxPopupToolBarButton>(I))->Visible());
}

TEST_F(PopupToolBarTest, AHorizontalToolBarShowsNoCaptionsAndAVerticalOneDoes) {
  TdxPopupToolBar* Bar = NewToolBar();
  Bar->SetButtons({ptbCut, ptbPaste, ptbCustom});
  Bar->SetCustomCaption("&Mine");
  Bar->SetAlignment(ptaTop);
  Bar->HandleNeeded();
  EXPECT_EQ(3 * 23, Bar->ClientWidth());
  EXPECT_EQ(22, Bar->ClientHeight());
  for (TdxPopupToolBarButton Kind : {ptbCut, ptbPaste, ptbCustom}) {
    EXPECT_EQ("", Bar->Button(Kind)->Caption());
    EXPECT_TRUE(Bar->Button(Kind)->Visible());
  }
  EXPECT_EQ(23, Bar->Button(ptbPaste)->Left());
  EXPECT_FALSE(Bar->Button(ptbCopy)->Visible());

  Bar->SetAlignment(ptaRight);
  EXPECT_EQ("Cu&t", Bar->Button(ptbCut)->Caption());
  EXPECT_EQ("&Paste", Bar->Button(ptbPaste)->Caption());
  EXPECT_EQ("&Mine", Bar->Button(ptbCustom)->Caption());
  const int Height = Bar->Button(ptbCut)->Height();
  EXPECT_GE(Height, 22);
  EXPECT_EQ(3 * Height, Bar->ClientHeight());
  EXPECT_EQ(Height, Bar->Button(ptbPaste)->Top());
  // The captions widen the toolbar beyond a glyph button.
  EXPECT_GT(Bar->ClientWidth(), Height + 1 + 10);
  Bar->SetShowCaptions(false);
  EXPECT_EQ("", Bar->Button(ptbCut)->Caption());
  EXPECT_EQ(23, Bar->ClientWidth());
}

TEST_F(PopupToolBarTest, ButtonsFollowThePictureTheReadOnlyStateAndTheClipboard) {
  TdxPopupToolBar* Bar = NewToolBar();
  Bar->SetPictureEmpty(true);
  Bar->EnableButtons();
  EXPECT_FALSE(Bar->Button(ptbCut)->Enabled());
  EXPECT_FALSE(Bar->Button(ptbCopy)->Enabled());
  EXPECT_FALSE(Bar->Button(ptbSave)->Enabled());
  EXPECT_FALSE(Bar->Button(ptbPaste)->Enabled());
  EXPECT_TRUE(Bar->Button(ptbLoad)->Enabled());
  EXPECT_TRUE(Bar->Button(ptbCustom)->Enabled());
  Bar->SetPictureEmpty(false);
  Bar->SetReadOnly(true);
  Bar->EnableButtons();
  EXPECT_FALSE(Bar->Button(ptbCut)->Enabled());
  EXPECT_FALSE(Bar->Button(ptbDelete)->Enabled());
  EXPECT_FALSE(Bar->Button(ptbLoad)->Enabled());
  EXPECT_TRUE(Bar->Button(ptbCopy)->Enabled());
  EXPECT_TRUE(Bar->Button(ptbSave)->Enabled());
}

TEST_F(PopupToolBarTest, ABitmapPutOnTheClipboardEnablesPasteThroughTheViewerChain) {
  TdxPopupToolBar* Bar = NewToolBar();
  Bar->HandleNeeded();
  EXPECT_TRUE(Bar->InViewerChain());
  Pump();
  Bar->EnableButtons();
  ASSERT_FALSE(Bar->Button(ptbPaste)->Enabled());
  // Nothing but WM_DRAWCLIPBOARD enables the buttons again here.
  PutBitmapOnClipboard();
  EXPECT_TRUE(PumpUntil([&] { return Bar->Button(ptbPaste)->Enabled(); }));
  Clipboard()->Clear();
  EXPECT_TRUE(PumpUntil([&] { return !Bar->Button(ptbPaste)->Enabled(); }));
}

// A clipboard viewer of the test's own, ahead of the toolbar in the chain.
struct TOtherViewer {
  TOtherViewer() {
    Window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    Next = SetClipboardViewer(Window);
  }
  ~TOtherViewer() {
    ChangeClipboardChain(Window, Next);
    DestroyWindow(Window);
  }
  HWND Window = nullptr;
  HWND Next = nullptr;
};

TEST_F(PopupToolBarTest, AWindowDestroyedFromOutsideLeavesTheViewerChainOnce) {
  TOtherViewer Other;
  auto* Bar = NewObject<TdxPopupToolBar>(nullptr, CreateNew);
  Bar->HandleNeeded();
  EXPECT_EQ(Bar->Handle(), GetClipboardViewer());
  DestroyWindow(Bar->Handle());
  EXPECT_FALSE(Bar->InViewerChain());
  EXPECT_EQ(Other.Window, GetClipboardViewer());
  Bar->Free();
  EXPECT_EQ(Other.Window, GetClipboardViewer());
}

TEST_F(PopupToolBarTest, TheToolWindowTakesNoActivationAndStaysClosedUntilTheEditorShowsIt) {
  TdxInplaceGraphicEdit* Edit = ToolWindowEdit();
  TdxPopupToolBar* Bar = Edit->ToolBar();
  Edit->PopupToolBar()->SetIsPopupMenu(true);
  Edit->ShowPopupToolbar();
  EXPECT_FALSE(Bar->ToolBarShowing());
  Edit->PopupToolBar()->SetIsPopupMenu(false);
  Edit->ShowPopupToolbar();
  ASSERT_TRUE(Bar->ToolBarShowing());
  EXPECT_EQ(MA_NOACTIVATE, SendMessageA(Bar->Handle(), WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
  SendMessageA(Bar->Handle(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(Edit->Handle()), 0);
  EXPECT_TRUE(Bar->ToolBarShowing());
  SendMessageA(Bar->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(Bar->ToolBarShowing());
  Bar->ShowToolBar();
  EXPECT_FALSE(Bar->ToolBarShowing());
  Edit->ShowPopupToolbar();
  EXPECT_TRUE(Bar->ToolBarShowing());
  SendMessageA(Bar->Handle(), WM_KILLFOCUS, 0, 0);
  EXPECT_FALSE(Bar->ToolBarShowing());
}

TEST_F(PopupToolBarTest, PlacementKeepsTheToolBarInsideTheWorkArea) {
  TdxPopupToolBar* Bar = NewToolBar();
  Bar->HandleNeeded();
  TRect Area;
  GetWorkAreaAt(Point(200, 200), Area);
  const int W = Bar->Width();
  const int H = Bar->Height();
  auto Placed = [&](TdxPopupToolBarAlignment Side, const TRect& R) {
    Bar->SetAlignment(Side);
    Bar->PlaceBeside(R);
    return Point(Bar->Left(), Bar->Top());
  };
  const int Mid = (Area.top + Area.bottom) / 2;
  // Left: beside the editor's left edge; against the area's left edge, to its right.
  TRect Inside = Rect(Area.left + 300, Mid, Area.left + 440, Mid + 100);
  EXPECT_EQ(Inside.left - Bar->Width(), Placed(ptaLeft, Inside).x);
  TRect AtLeft = Rect(Area.left + 5, Mid, Area.left + 145, Mid + 100);
  TPoint P = Placed(ptaLeft, AtLeft);
  EXPECT_EQ(AtLeft.right, P.x);
  EXPECT_EQ(AtLeft.top, P.y);
  // Right: beside the right edge; against the area's right edge, to the left.
  EXPECT_EQ(Inside.right, Placed(ptaRight, Inside).x);
  TRect AtRight = Rect(Area.right - 145, Mid, Area.right - 5, Mid + 100);
  EXPECT_EQ(AtRight.left - Bar->Width(), Placed(ptaRight, AtRight).x);
  // Top: above; against the area's top, below.
  TRect Middle = Rect(Area.left + 300, Area.top + 300, Area.left + 440, Area.top + 400);
  EXPECT_EQ(Middle.top - Bar->Height(), Placed(ptaTop, Middle).y);
  TRect AtTop = Rect(Area.left + 300, Area.top + 2, Area.left + 440, Area.top + 102);
  EXPECT_EQ(AtTop.bottom, Placed(ptaTop, AtTop).y);
  // Bottom: below; against the area's bottom, pushed back inside it.
  EXPECT_EQ(Middle.bottom, Placed(ptaBottom, Middle).y);
  TRect AtBottom = Rect(Area.left + 300, Area.bottom - 50, Area.left + 440, Area.bottom + 50);
  P = Placed(ptaBottom, AtBottom);
  EXPECT_EQ(Area.bottom - Bar->Height(), P.y);
  EXPECT_EQ(AtBottom.left, P.x);
  // An editor past the area's corner: the toolbar stays inside.
  P = Placed(ptaRight, Rect(Area.right + 10, Area.bottom + 10, Area.right + 150, Area.bottom + 110));
  EXPECT_EQ(Area.right - W, P.x);
  EXPECT_EQ(Area.bottom - H, P.y);
}

// The context menu through the menu seam: what the system menu would show.
struct TShownMenu {
  int Count = 0;
  std::vector<bool> Separators;
  std::vector<bool> Pictures;
  UINT Choose = 0;
};
TShownMenu* Shown = nullptr;

UINT ReadMenu(HMENU Menu, UINT /*Flags*/, int /*X*/, int /*Y*/, HWND /*Owner*/) {
  Shown->Count = GetMenuItemCount(Menu);
  for (int I = 0; I < Shown->Count; ++I) {
    MENUITEMINFOA Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = MIIM_FTYPE | MIIM_BITMAP;
    GetMenuItemInfoA(Menu, static_cast<UINT>(I), TRUE, &Info);
    Shown->Separators.push_back((Info.fType & MFT_SEPARATOR) != 0);
    Shown->Pictures.push_back(Info.hbmpItem != nullptr);
  }
  return Shown->Choose;
}

TEST_F(PopupToolBarTest, TheContextMenuShowsTheButtonsItemsWithTheirImagesAndSeparatorsBetween) {
  TForm* Form = ShownForm(300, 200);
  auto* Edit = NewObject<TdxInplaceGraphicEdit>(Form);
  Edit->SetParent(Form);
  Edit->HandleNeeded();
  TdxPopupToolBarWindow* Settings = Edit->PopupToolBar();
  Settings->SetButtons({ptbCopy, ptbLoad, ptbSave, ptbCustom});
  Settings->SetCustomButtonCaption("Mine");
  TOwned<TBitmap> Glyph(NewObject<TBitmap>(16, 16));
  Settings->SetCustomButtonGlyph(Glyph.get());

  TShownMenu Menu;
  Shown = &Menu;
  TValueScope<TTrackPopupMenuProc> Seam(TrackPopupMenuProc, ReadMenu);
  SendMessageA(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()), MAKELPARAM(100, 100));

  TdxPopupToolBar* Bar = Edit->ToolBar();
  TPopupMenu* Popup = Bar->Menu();
  EXPECT_EQ(PopupToolImages(), Popup->Images());
  EXPECT_FALSE(Bar->MenuItem(ptbCut)->Visible());
  EXPECT_TRUE(Bar->MenuItem(ptbCopy)->Visible());
  EXPECT_EQ(ptbCopy, Bar->MenuItem(ptbCopy)->ImageIndex());
  EXPECT_EQ(ptbSave, Bar->MenuItem(ptbSave)->ImageIndex());
  EXPECT_EQ("Mine", Bar->MenuItem(ptbCustom)->Caption());
  ASSERT_TRUE(Bar->MenuItem(ptbCustom)->HasBitmap());
  EXPECT_TRUE(Bar->MenuItem(ptbCustom)->Bitmap()->Transparent());
  EXPECT_EQ(16, Bar->MenuItem(ptbCustom)->Bitmap()->Width());
  // Copy, line, Load, Save, line, Mine: both lines stand between visible items.
  ASSERT_EQ(6, Menu.Count);
  EXPECT_EQ((std::vector<bool>{false, true, false, false, true, false}), Menu.Separators);
  EXPECT_EQ((std::vector<bool>{true, false, true, true, false, true}), Menu.Pictures);
  // Without the custom command the last line goes; without Copy the first one.
  Settings->SetButtons({ptbLoad, ptbSave});
  Menu = TShownMenu();
  SendMessageA(Edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Edit->Handle()), MAKELPARAM(100, 100));
  EXPECT_EQ(2, Menu.Count);
  EXPECT_EQ((std::vector<bool>{false, false}), Menu.Separators);
  Shown = nullptr;
}

TEST_F(PopupToolBarTest, AChosenMenuItemRunsItsCommandAndItemsFollowTheButtonsStates) {
  TForm* Form = ShownForm(300, 200);
  auto* Edit = NewObject<TdxInplaceGraphicEdit>(Form);
  Edit->SetParent(Form);
  Edit->HandleNeeded();
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(5, 5));
  Edit->Picture()->Assign(Bitmap.get());
  TShownMenu Menu;
  Shown = &Menu;
  TValueScope<TTrackPopupMenuProc> Seam(TrackPopupMenuProc, ReadMenu);
  // The first showing makes the menu; the second chooses Delete.
  SendMessageA(Edit->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
  TdxPopupToolBar* Bar = Edit->ToolBar();
  EXPECT_TRUE(Bar->MenuItem(ptbDelete)->Enabled());
  EXPECT_FALSE(Bar->MenuItem(ptbPaste)->Enabled());
  Menu = TShownMenu();
  Menu.Choose = Bar->MenuItem(ptbDelete)->Command();
  SendMessageA(Edit->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
  EXPECT_TRUE(IsPictureEmpty(Edit->Picture()));
  EXPECT_TRUE(Edit->Modified());
  EXPECT_FALSE(Bar->MenuItem(ptbDelete)->Enabled());
  Shown = nullptr;
}

}  // namespace
