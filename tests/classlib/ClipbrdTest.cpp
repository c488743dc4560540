#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Clipbrd.h"

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { Clip.reset(NewObject<TClipboard>()); }
  TOwned<TClipboard> Clip;
};

TEST_F(ClipboardTest, TextRoundTrip) {
  Clip->SetAsText("Board Profile\r\nline 2");
  EXPECT_TRUE(Clip->HasFormat(CF_TEXT));
  EXPECT_EQ(Clip->AsText(), "Board Profile\r\nline 2");
  EXPECT_EQ(Clipboard()->AsText(), "Board Profile\r\nline 2")
      << "one clipboard for the process";
  Clip->Clear();
  EXPECT_FALSE(Clip->HasFormat(CF_TEXT));
  EXPECT_EQ(Clip->AsText(), "");
}

TEST_F(ClipboardTest, DataSetInsideOneOpeningStaysTogether) {
  Clip->Open();
  Clip->SetAsText("first");
  HGLOBAL Extra = GlobalAlloc(GMEM_MOVEABLE, 4);
  Clip->SetAsHandle(RegisterClipboardFormatA("Tarvik test format"), Extra);
  Clip->Close();
  EXPECT_TRUE(Clip->HasFormat(CF_TEXT)) << "the second format did not empty the clipboard";
  EXPECT_TRUE(Clip->HasFormat(RegisterClipboardFormatA("Tarvik test format")));
  Clip->SetAsText("second");
  EXPECT_FALSE(Clip->HasFormat(RegisterClipboardFormatA("Tarvik test format")));
}

TEST_F(ClipboardTest, BitmapsGoThroughTheClipboard) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(6, 4));
  Bitmap->Canvas()->SetPixels(5, 3, clRed);
  Clip->Assign(Bitmap.get());
  EXPECT_TRUE(Clip->HasFormat(CF_BITMAP));

  TOwned<TBitmap> Pasted(NewObject<TBitmap>());
  Pasted->Assign(Clip.get());
  EXPECT_EQ(Pasted->Width(), 6);
  EXPECT_EQ(Pasted->Height(), 4);
  EXPECT_EQ(Pasted->Canvas()->Pixels(5, 3), clRed);
  EXPECT_EQ(Pasted->Canvas()->Pixels(0, 0), clWhite);

  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Clip.get());
  ASSERT_TRUE(Picture->Graphic() && Picture->Graphic()->Is<TBitmap>());
  EXPECT_EQ(Picture->Width(), 6);
}

namespace {

// A metafile that keeps the handle of the copy it hands to the clipboard.
class TRecordingMetafile : public TMetafile {
 public:
  HANDLE Handed = nullptr;
  void SaveToClipboardFormat(UINT& Format, HANDLE& Data) override {
    TMetafile::SaveToClipboardFormat(Format, Data);
    Handed = Data;
  }
};

// Holds the clipboard open from a thread of its own, as another program would.
class TClipboardHolder {
 public:
  TClipboardHolder() {
    FThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    WaitForSingleObject(FOpened, INFINITE);
  }
  ~TClipboardHolder() {
    SetEvent(FRelease);
    WaitForSingleObject(FThread, INFINITE);
    CloseHandle(FThread);
    CloseHandle(FOpened);
    CloseHandle(FRelease);
  }
  bool Holds() const { return FHolds; }

 private:
  static DWORD WINAPI Run(void* Param) {
    auto* Self = static_cast<TClipboardHolder*>(Param);
    HWND Window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  nullptr, nullptr);
    Self->FHolds = Window && OpenClipboard(Window);
    SetEvent(Self->FOpened);
    WaitForSingleObject(Self->FRelease, INFINITE);
    if (Self->FHolds) CloseClipboard();
    if (Window) DestroyWindow(Window);
    return 0;
  }
  HANDLE FOpened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE FRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE FThread = nullptr;
  bool FHolds = false;
};

}  // namespace

TEST_F(ClipboardTest, AMetafileTheClipboardRefusesIsFreed) {
  TOwned<TRecordingMetafile> Metafile(NewObject<TRecordingMetafile>());
  {
    TOwned<TMetafileCanvas> Canvas(NewObject<TMetafileCanvas>(Metafile.get(), nullptr));
    Canvas->Rectangle(0, 0, 10, 10);
  }
  TClipboardHolder Holder;
  ASSERT_TRUE(Holder.Holds());
  EXPECT_THROW(Clip->Assign(Metafile.get()), Exception);
  ASSERT_NE(Metafile->Handed, nullptr);
  EXPECT_EQ(GetObjectType(Metafile->Handed), 0u) << "the refused copy is still alive";
}
