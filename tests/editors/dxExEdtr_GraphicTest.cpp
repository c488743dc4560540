// The graphic editor: the blob helpers (the header, short and bad blobs), the host's
// value and the modified state, the clipboard commands and keys, the file commands
// through the dialog seams, the stored toolbar position, and the cells it paints
// (pixels).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "classlib/Clipbrd.h"
#include "classlib/Dialogs.h"
#include "classlib/FileUtils.h"
#include "classlib/UpdateScope.h"
#include "editors/dxExEdtr_Graphic.h"
#include "tests/editors/EditTestSupport.h"

namespace {

using edittest::EditTest;
using uitest::Pump;

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);

TBitmap* NewFilledBitmap(int Width, int Height, COLORREF Color) {
  TBitmap* Bitmap = NewObject<TBitmap>(Width, Height);
  Bitmap->Canvas()->Brush()->SetColor(static_cast<TColor>(Color));
  Bitmap->Canvas()->FillRect(Rect(0, 0, Width, Height));
  return Bitmap;
}

AnsiString BlobOf(TGraphic* Graphic) {
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Graphic);
  AnsiString Blob;
  SavePictureToBlob(Picture.get(), Blob);
  return Blob;
}

AnsiString WithHeader(const AnsiString& Blob) {
  char Header[8];
  const Word Count = 1;
  const Word Type = 0x0100;
  const Integer Size = static_cast<Integer>(Blob.size());
  std::memcpy(Header, &Count, 2);
  std::memcpy(Header + 2, &Type, 2);
  std::memcpy(Header + 4, &Size, 4);
  return AnsiString(Header, 8) + Blob;
}

class GraphicEditTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    Clipboard()->Clear();
  }
  TdxInplaceGraphicEdit* ShownEdit() {
    TForm* Form = ShownForm(300, 200);
    auto* Edit = NewObject<TdxInplaceGraphicEdit>(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 140, 100);
    Edit->HandleNeeded();
    Pump();
    return Edit;
  }
};

TEST(GraphicBlobTest, ABlobWithTheHeaderLoadsAsTheOneWithout) {
  TOwned<TBitmap> Bitmap(NewFilledBitmap(3, 2, Red));
  const AnsiString Blob = BlobOf(Bitmap.get());
  ASSERT_GT(Blob.size(), 8u);
  TOwned<TPicture> Plain(NewObject<TPicture>());
  TOwned<TPicture> Headed(NewObject<TPicture>());
  LoadPictureFromBlob(Plain.get(), Variant(Blob), nullptr);
  LoadPictureFromBlob(Headed.get(), Variant(WithHeader(Blob)), nullptr);
  ASSERT_FALSE(IsPictureEmpty(Headed.get()));
  EXPECT_EQ(3, Headed->Width());
  EXPECT_EQ(2, Headed->Height());
  EXPECT_EQ(Blob, BlobOf(Headed->Graphic()));
  EXPECT_EQ(BlobOf(Plain->Graphic()), BlobOf(Headed->Graphic()));
  // A header whose size does not match is read as part of the graphic: no bitmap.
  AnsiString Wrong = WithHeader(Blob);
  Wrong[4] = static_cast<char>(Wrong[4] + 1);
  LoadPictureFromBlob(Headed.get(), Variant(Wrong), nullptr);
  EXPECT_TRUE(IsPictureEmpty(Headed.get()));
}

TEST(GraphicBlobTest, ShortBlobsAndValuesThatAreNoStringsClearThePicture) {
  TOwned<TBitmap> Bitmap(NewFilledBitmap(3, 2, Red));
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Bitmap.get());
  LoadPictureFromBlob(Picture.get(), Variant(AnsiString("BM45678")), nullptr);
  EXPECT_TRUE(IsPictureEmpty(Picture.get()));
  Picture->Assign(Bitmap.get());
  LoadPictureFromBlob(Picture.get(), Variant(42), nullptr);
  EXPECT_TRUE(IsPictureEmpty(Picture.get()));
}

TEST(GraphicBlobTest, ABlobThatDoesNotLoadLeavesThePictureEmptyAndRaisesNothing) {
  TOwned<TBitmap> Bitmap(NewFilledBitmap(3, 2, Red));
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Bitmap.get());
  EXPECT_NO_THROW(LoadPictureFromBlob(Picture.get(), Variant(AnsiString("not a picture at all")), nullptr));
  EXPECT_TRUE(IsPictureEmpty(Picture.get()));
  // A class given by the host reads the blob; a metafile cannot read a bitmap's bytes.
  Picture->Assign(Bitmap.get());
  EXPECT_NO_THROW(LoadPictureFromBlob(Picture.get(), Variant(BlobOf(Bitmap.get())), &TMetafile::StaticClass()));
  EXPECT_TRUE(IsPictureEmpty(Picture.get()));
}

TEST_F(GraphicEditTest, ABlobValueLeavesTheEditorUnmodifiedAndAPasteMarksIt) {
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  uitest::TChangeCounter Changes;
  Edit->OnChange = Changes.Event();
  TOwned<TBitmap> Bitmap(NewFilledBitmap(6, 4, Red));
  Edit->SetEditValue(Variant(BlobOf(Bitmap.get())));
  EXPECT_EQ(6, Edit->Picture()->Width());
  EXPECT_FALSE(Edit->Modified());
  EXPECT_EQ(0, Changes.Count);
  // The host's value: the blob to store, and the graphic's reference.
  EXPECT_EQ(BlobOf(Bitmap.get()), Edit->GetBlobValue().AsString());
  EXPECT_EQ(static_cast<int>(reinterpret_cast<std::intptr_t>(Edit->Picture()->Graphic())),
            Edit->GetEditValue().AsInteger());

  TOwned<TBitmap> Other(NewFilledBitmap(9, 7, White));
  Clipboard()->Assign(Other.get());
  Edit->PasteFromClipboard();
  EXPECT_EQ(9, Edit->Picture()->Width());
  EXPECT_TRUE(Edit->Modified());
  EXPECT_GT(Changes.Count, 0);
  Edit->SetEditValue(Null());
  EXPECT_TRUE(IsPictureEmpty(Edit->Picture()));
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ("", Edit->GetBlobValue().AsString());
  EXPECT_EQ(0, Edit->GetEditValue().AsInteger());
}

TEST_F(GraphicEditTest, TheTransparencySettingRulesTheGraphicWithoutMarkingTheEditor) {
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  TOwned<TBitmap> Bitmap(NewFilledBitmap(6, 4, Red));
  Edit->Picture()->Assign(Bitmap.get());
  Edit->SetModified(false);
  uitest::TChangeCounter Changes;
  Edit->OnChange = Changes.Event();
  Edit->SetGraphicTransparency(gtTransparent);
  EXPECT_TRUE(Edit->Picture()->Graphic()->Transparent());
  EXPECT_FALSE(Edit->Modified());
  EXPECT_EQ(0, Changes.Count);
  // A graphic pasted later is made to follow the setting too.
  TOwned<TBitmap> Other(NewFilledBitmap(2, 2, White));
  Edit->Picture()->Assign(Other.get());
  EXPECT_TRUE(Edit->Picture()->Graphic()->Transparent());
  Edit->SetGraphicTransparency(gtOpaque);
  EXPECT_FALSE(Edit->Picture()->Graphic()->Transparent());
}

TEST_F(GraphicEditTest, AClipboardBitmapIsPastedUnderThePictureFormat) {
  EXPECT_NE(0u, CF_PICTURE);
  EXPECT_FALSE(Clipboard()->HasFormat(CF_PICTURE));
  TOwned<TBitmap> Bitmap(NewFilledBitmap(5, 3, Red));
  Clipboard()->Assign(Bitmap.get());
  EXPECT_TRUE(Clipboard()->HasFormat(CF_PICTURE));
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  EXPECT_EQ(CF_PICTURE, Edit->ClipboardFormat());
  Edit->PasteFromClipboard();
  ASSERT_TRUE(ObjectAs<TBitmap>(Edit->Picture()->Graphic()));
  EXPECT_EQ(5, Edit->Picture()->Width());
  EXPECT_EQ(Red, Edit->Picture()->Bitmap()->Canvas()->Pixels(2, 1) & 0xFFFFFF);
}

TEST_F(GraphicEditTest, AReadOnlyEditorPastesAndDeletesNothing) {
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  TOwned<TBitmap> Bitmap(NewFilledBitmap(5, 3, Red));
  Edit->Picture()->Assign(Bitmap.get());
  Edit->SetModified(false);
  Edit->SetReadOnly(true);
  Edit->DeletePicture();
  Edit->CutToClipboard();
  EXPECT_FALSE(IsPictureEmpty(Edit->Picture()));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  TOwned<TBitmap> Other(NewFilledBitmap(9, 9, White));
  Clipboard()->Assign(Other.get());
  Edit->PasteFromClipboard();
  EXPECT_EQ(5, Edit->Picture()->Width());
  EXPECT_FALSE(Edit->Modified());
}

TEST_F(GraphicEditTest, KeysCutCopyAndPaste) {
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  TOwned<TBitmap> Bitmap(NewFilledBitmap(5, 3, Red));
  Edit->Picture()->Assign(Bitmap.get());
  SendMessageA(Edit->Handle(), WM_CHAR, 3, 0);  // Ctrl+C
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  uitest::HeldKeys = {VK_SHIFT};
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_DELETE, 0);  // Shift+Delete
  EXPECT_TRUE(IsPictureEmpty(Edit->Picture()));
  SendMessageA(Edit->Handle(), WM_KEYDOWN, VK_INSERT, 0);  // Shift+Insert
  EXPECT_EQ(5, Edit->Picture()->Width());
  uitest::HeldKeys.clear();
  SendMessageA(Edit->Handle(), WM_CHAR, 24, 0);  // Ctrl+X
  EXPECT_TRUE(IsPictureEmpty(Edit->Picture()));
  SendMessageA(Edit->Handle(), WM_CHAR, 22, 0);  // Ctrl+V
  EXPECT_EQ(5, Edit->Picture()->Width());
}

// The file dialogs' seam: answers the file name given, and notes the record.
AnsiString ChosenFile;
AnsiString SeenFilter;
AnsiString SeenDefaultExt;
BOOL WINAPI ChooseFile(OPENFILENAMEA* Info) {
  SeenFilter.clear();
  for (const char* Part = Info->lpstrFilter; Part && *Part; Part += std::strlen(Part) + 1)
    SeenFilter += AnsiString(Part) + "|";
  SeenDefaultExt = Info->lpstrDefExt ? Info->lpstrDefExt : "";
  std::strncpy(Info->lpstrFile, ChosenFile.c_str(), Info->nMaxFile - 1);
  return TRUE;
}

TEST_F(GraphicEditTest, ABitmapIsSavedAndLoadedThroughTheDialogs) {
  TValueScope<TFileNameFunc> Save(GetSaveFileNameProc, ChooseFile);
  TValueScope<TFileNameFunc> Open(GetOpenFileNameProc, ChooseFile);
  ChosenFile = uitest::TempPath("graphic-edit.bmp");
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  TOwned<TBitmap> Bitmap(NewFilledBitmap(7, 5, Red));
  Edit->Picture()->Assign(Bitmap.get());
  Edit->DoCommand(ptbSave);
  EXPECT_EQ("bmp", SeenDefaultExt);
  EXPECT_NE(AnsiString::npos, SeenFilter.find("*.bmp"));
  EXPECT_EQ(AnsiString::npos, SeenFilter.find("*.emf"));

  TdxInplaceGraphicEdit* Other = ShownEdit();
  Other->DoCommand(ptbLoad);
  EXPECT_NE(AnsiString::npos, SeenFilter.find("*.emf"));
  Other->SetCustomFilter("Mine|*.bmp");
  Other->DoCommand(ptbLoad);
  EXPECT_EQ("Mine|*.bmp|", SeenFilter);
  EXPECT_EQ(7, Other->Picture()->Width());
  EXPECT_EQ(Red, Other->Picture()->Bitmap()->Canvas()->Pixels(3, 2) & 0xFFFFFF);
  EXPECT_TRUE(Other->Modified());

  // A file that does not load leaves the picture as it was.
  {
    TOwned<TFileStream> Bad(NewObject<TFileStream>(ChosenFile, fmCreate));
    Bad->WriteBuffer("garbage!", 8);
  }
  EXPECT_ANY_THROW(Other->LoadFromFile());
  EXPECT_EQ(7, Other->Picture()->Width());
  DeleteFileA(ChosenFile.c_str());
}

TEST_F(GraphicEditTest, TheStoredToolBarPositionIsUsedAndForgotten) {
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  Edit->PopupToolBar()->SetIsPopupMenu(false);
  Edit->SetPopupToolbarPos(Point(123, 145));
  Edit->ShowPopupToolbar();
  EXPECT_EQ(123, Edit->ToolBar()->Left());
  EXPECT_EQ(145, Edit->ToolBar()->Top());
  // Moved by the user: the new place is stored at the next showing.
  Edit->ToolBar()->SetBounds(200, 210, Edit->ToolBar()->Width(), Edit->ToolBar()->Height());
  Edit->ShowPopupToolbar();
  EXPECT_EQ(200, Edit->PopupToolbarPos().x);
  EXPECT_EQ(210, Edit->PopupToolbarPos().y);
  Edit->SetPopupToolbarPosStored(false);
  EXPECT_EQ(dxNoToolbarPos.x, Edit->PopupToolbarPos().x);
  EXPECT_EQ(dxNoToolbarPos.y, Edit->PopupToolbarPos().y);
}

TEST_F(GraphicEditTest, WithoutDoubleClickActivationTheFocusShowsTheToolWindowAndTakesItAway) {
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  Edit->PopupToolBar()->SetIsPopupMenu(false);
  Edit->SetDblClickActivate(false);
  Edit->SetFocus();
  Pump();
  EXPECT_TRUE(Edit->ToolBar()->ToolBarShowing());
  EXPECT_EQ(Edit->Handle(), GetFocus());
  auto* Other = uitest::AddChild<uitest::TProbe>(GetParentForm(Edit));
  Other->SetBounds(200, 150, 20, 20);
  Other->SetFocus();
  Pump();
  EXPECT_FALSE(Edit->ToolBar()->ToolBarShowing());
}

TEST_F(GraphicEditTest, TheEditorsWindowPaintsItsPicture) {
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  Edit->SetCenter(false);
  TOwned<TBitmap> Bitmap(NewFilledBitmap(20, 10, Red));
  Edit->Picture()->Assign(Bitmap.get());
  uitest::PaintNow(Edit);
  EXPECT_EQ(Red, uitest::ScreenPixel(Edit->Handle(), 19, 9));
  EXPECT_EQ(ColorToRGB(Edit->Color()), uitest::ScreenPixel(Edit->Handle(), 20, 9));
}

TEST_F(GraphicEditTest, AnEditorWhoseToolBarWasFreedGoesOnWithoutIt) {
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  Edit->PopupToolBar()->SetIsPopupMenu(false);
  Edit->ShowPopupToolbar();
  Edit->ToolBar()->Free();
  EXPECT_EQ(nullptr, Edit->ToolBar());
  Edit->ShowPopupToolbar();
  Edit->PopupToolBar()->SetIsPopupMenu(true);
  SendMessageA(Edit->Handle(), WM_CONTEXTMENU, 0, MAKELPARAM(50, 50));
  TOwned<TBitmap> Bitmap(NewFilledBitmap(3, 3, Red));
  Edit->Picture()->Assign(Bitmap.get());
  Edit->DoCommand(ptbDelete);
  EXPECT_TRUE(IsPictureEmpty(Edit->Picture()));
}

TEST_F(GraphicEditTest, ADoubleClickShowsTheToolWindow) {
  TdxInplaceGraphicEdit* Edit = ShownEdit();
  Edit->PopupToolBar()->SetIsPopupMenu(false);
  SendMessageA(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(Edit->ToolBar()->ToolBarShowing());
  SendMessageA(Edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(Edit->ToolBar()->ToolBarShowing());
  RECT Bar;
  RECT Self;
  GetWindowRect(Edit->ToolBar()->Handle(), &Bar);
  GetWindowRect(Edit->Handle(), &Self);
  // Below the editor, at its left edge (the default side).
  EXPECT_EQ(Self.bottom, Bar.top);
  EXPECT_EQ(Self.left, Bar.left);
}

// ---------------------------------------------------------------------------------
// Cells

class GraphicPaintTest : public ::testing::Test {
 protected:
  // Paints a 100 x 100 cell on white through the class operation.
  void PaintCell(TdxGraphicEditViewData* Data) {
    Data->Bounds = Rect(0, 0, 100, 100);
    Data->Brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    Data->BackgroundColor = White;
    Surface.reset(NewObject<TBitmap>(100, 100));
    TdxInplaceGraphicEdit::StaticClass().DrawContent(Surface->Canvas()->Handle(), Rect(0, 0, 100, 100), false, Data);
  }
  COLORREF At(int X, int Y) { return Surface->Canvas()->Pixels(X, Y) & 0xFFFFFF; }
  TOwned<TdxGraphicEditViewData> NewData(TPicture* Picture) {
    TOwned<TdxGraphicEditViewData> Data(NewObject<TdxGraphicEditViewData>());
    Data->Picture = Picture;
    return Data;
  }
  TOwned<TBitmap> Surface;
};

TEST_F(GraphicPaintTest, AStretchedGraphicKeepsItsShapeAtTheTop) {
  TOwned<TBitmap> Wide(NewFilledBitmap(200, 100, Red));
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Wide.get());
  auto Data = NewData(Picture.get());
  Data->Stretch = true;
  PaintCell(Data.get());
  EXPECT_EQ(Red, At(0, 0));
  EXPECT_EQ(Red, At(99, 49));
  EXPECT_EQ(White, At(99, 50));
  EXPECT_EQ(White, At(0, 99));
}

TEST_F(GraphicPaintTest, ANaturalSizeGraphicIsCentredOrAtTheTopLeft) {
  TOwned<TBitmap> Small(NewFilledBitmap(20, 10, Red));
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Small.get());
  auto Data = NewData(Picture.get());
  PaintCell(Data.get());
  EXPECT_EQ(White, At(39, 45));
  EXPECT_EQ(Red, At(40, 45));
  EXPECT_EQ(Red, At(59, 54));
  EXPECT_EQ(White, At(60, 54));
  EXPECT_EQ(White, At(40, 55));
  Data->Center = false;
  PaintCell(Data.get());
  EXPECT_EQ(Red, At(0, 0));
  EXPECT_EQ(Red, At(19, 9));
  EXPECT_EQ(White, At(20, 9));
}

TEST_F(GraphicPaintTest, ATransparentGraphicShowsTheBackgroundThroughTheBuffer) {
  TOwned<TBitmap> Glyph(NewFilledBitmap(10, 10, Red));
  // The bottom-left colour is the transparent one: a green frame round red.
  Glyph->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(0, 255, 0)));
  Glyph->Canvas()->FrameRect(Rect(0, 0, 10, 10));
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Glyph.get());
  Picture->Graphic()->SetTransparent(true);
  TOwned<TBitmap> Buffer(NewObject<TBitmap>());
  auto Data = NewData(Picture.get());
  Data->Center = false;
  Data->Buffer = Buffer.get();
  PaintCell(Data.get());
  EXPECT_EQ(White, At(0, 0));
  EXPECT_EQ(Red, At(5, 5));
  EXPECT_EQ(White, At(50, 50));
}

TEST_F(GraphicPaintTest, AnEmptyOrBadPicturePaintsTheBackgroundAndMeasuresNothing) {
  TOwned<TPicture> Picture(NewObject<TPicture>());
  LoadPictureFromBlob(Picture.get(), Variant(AnsiString("this is no bitmap at all")), nullptr);
  auto Data = NewData(Picture.get());
  PaintCell(Data.get());
  EXPECT_EQ(White, At(50, 50));
  Data->MeasureOnly = true;
  Data->NeededHeight = -1;
  TdxInplaceGraphicEdit::StaticClass().DrawContent(Surface->Canvas()->Handle(), Rect(0, 0, 100, 100), false,
                                                  Data.get());
  EXPECT_EQ(0, Data->NeededHeight);
  TOwned<TBitmap> Small(NewFilledBitmap(20, 17, Red));
  Picture->Assign(Small.get());
  TdxInplaceGraphicEdit::StaticClass().DrawContent(Surface->Canvas()->Handle(), Rect(0, 0, 100, 100), false,
                                                  Data.get());
  EXPECT_EQ(17, Data->NeededHeight);
}

TEST_F(GraphicPaintTest, SelectionShadingChecksTheWholeCell) {
  TOwned<TBitmap> Small(NewFilledBitmap(20, 10, Red));
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Small.get());
  auto Data = NewData(Picture.get());
  Data->Center = false;
  Data->ShadowSelection = true;
  Data->ShadowSelectionColor = static_cast<TColor>(RGB(0, 0, 255));
  PaintCell(Data.get());
  // Pixels whose column and row have the same parity take the colour.
  EXPECT_EQ(RGB(0, 0, 255), At(50, 50));
  EXPECT_EQ(White, At(51, 50));
  EXPECT_EQ(RGB(0, 0, 255), At(2, 2));
  EXPECT_EQ(Red, At(3, 2));

  // A cell far larger than the surface (its bitmap would take 40 GB) shades what shows.
  Surface.reset(NewObject<TBitmap>(100, 100));
  TdxInplaceGraphicEdit::StaticClass().DrawContent(Surface->Canvas()->Handle(), Rect(0, 0, 100000, 100000), false,
                                                  Data.get());
  EXPECT_EQ(RGB(0, 0, 255), At(50, 50));
  EXPECT_EQ(White, At(51, 50));
  EXPECT_EQ(RGB(0, 0, 255), At(2, 2));
  EXPECT_EQ(Red, At(3, 2));
}

}  // namespace
