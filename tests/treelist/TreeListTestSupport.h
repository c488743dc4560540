// What the tree list's window tests share: a fixture owning a list on a shown form,
// its computed layout, mouse messages sent at its client points, a log of the events
// a test binds, text measured in a font on the screen, and what waits to be painted.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/GdiScopes.h"
#include "tests/classlib/UiTestSupport.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_Columns.h"

namespace tltest {

// A tree list whose editors may change their values, as while the list edits a cell.
class TEditableTreeList : public TdxTreeList {
 public:
  using TdxTreeList::TdxTreeList;
  bool CanEditModify() override { return true; }
};

// The height of a line and the width of Text in Font, measured on the screen.
inline int TextHeightOf(TFont* Font) {
  TScreenDC Screen;
  TCanvas Canvas;
  Canvas.SetHandle(Screen.DC());
  Canvas.Font()->Assign(Font);
  const int Result = Canvas.TextHeight("Wg");
  Canvas.SetHandle(nullptr);
  return Result;
}

inline int TextWidthOf(TFont* Font, const char* Text) {
  TScreenDC Screen;
  TCanvas Canvas;
  Canvas.SetHandle(Screen.DC());
  Canvas.Font()->Assign(Font);
  const int Result = Canvas.TextWidth(Text);
  Canvas.SetHandle(nullptr);
  return Result;
}

// Whether the client point (X, Y) of Window waits to be painted.
inline bool InUpdateRegion(HWND Window, int X, int Y) {
  TOwnedRegion Region(CountHandle(CreateRectRgn(0, 0, 0, 0)));
  GetUpdateRgn(Window, Region.Handle(), FALSE);
  return PtInRegion(Region.Handle(), X, Y) != FALSE;
}

// Lines written by event handlers, counted by their text.
class TLineLog : public TObject {
 public:
  std::vector<std::string> Lines;
  int Count(const std::string& Line) const {
    int Result = 0;
    for (const std::string& L : Lines) Result += L == Line ? 1 : 0;
    return Result;
  }
};

class TreeListWindowTest : public uitest::UiTest {
 protected:
  void TearDown() override {
    FreeAndNil(Tree);
    uitest::UiTest::TearDown();
  }
  // A shown form holding a frameless list without scroll bars at Bounds: Columns
  // columns ColumnWidth wide filling its one band, neither row select nor editing.
  void MakePlainTree(int Columns, int ColumnWidth, const TRect& Bounds) {
    Form = ShownForm(500, 400);
    Tree = uitest::AddChild<TdxTreeList>(Form);
    Tree->SetBorderStyle(bsNone);
    Tree->SetScrollBars(ssNone);
    Tree->SetBounds(Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
    for (int I = 0; I < Columns; ++I)
      Tree->CreateColumn(&TdxTreeListColumn::StaticClass())->SetWidth(ColumnWidth);
    Tree->Bands()->Items(0)->SetWidth(Columns * ColumnWidth);
    Tree->SetOptions(Tree->Options() - TdxTreeListOptions{aoRowSelect, aoEditing});
  }
  // The list's window made and focused in the foreground form.
  void FocusTree() {
    Tree->HandleNeeded();
    SetForegroundWindow(Form->Handle());
    Tree->SetFocus();
    uitest::Pump();
  }
  TdxTreeListDrawInfo Layout() {
    TdxTreeListDrawInfo DI;
    Tree->CalcDrawInfo(DI);
    return DI;
  }
  // The middle of visible row Index in y. A row the layout does not have fails the
  // test rather than reading past the rows.
  int RowMiddle(int Index) {
    const TdxTreeListDrawInfo DI = Layout();
    if (Index < 0 || Index >= static_cast<int>(DI.Rows.size())) {
      ADD_FAILURE() << "no row " << Index << " among " << DI.Rows.size();
      return DI.CellsRect.top;
    }
    int Top = DI.CellsRect.top;
    for (int I = 0; I < Index; ++I) Top += DI.Rows[I].RowHeight;
    return Top + DI.Rows[Index].RowHeight / 2;
  }
  // Left-button messages at a client point; Keys adds MK_SHIFT or MK_CONTROL.
  static LPARAM At(POINT P) { return MAKELPARAM(P.x, P.y); }
  void Down(POINT P, WPARAM Keys = 0) {
    SendMessageA(Tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | Keys, At(P));
  }
  void Move(POINT P, WPARAM Keys = 0) {
    SendMessageA(Tree->Handle(), WM_MOUSEMOVE, MK_LBUTTON | Keys, At(P));
  }
  void Up(POINT P, WPARAM Keys = 0) { SendMessageA(Tree->Handle(), WM_LBUTTONUP, Keys, At(P)); }

  TForm* Form = nullptr;
  TdxTreeList* Tree = nullptr;
};

}  // namespace tltest
