#include <gtest/gtest.h>

#include "tests/support/ExpectRaises.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "classlib/FileUtils.h"
#include "classlib/Graphics.h"
#include "tests/classlib/UiTestSupport.h"

namespace {

// Records a 100 x 50 picture: the left half red, the right half blue.
void RecordHalves(TMetafile* Metafile) {
  Metafile->SetWidth(100);
  Metafile->SetHeight(50);
  TOwned<TMetafileCanvas> Canvas(NewObject<TMetafileCanvas>(Metafile, nullptr));
  Canvas->Brush()->SetColor(clRed);
  Canvas->FillRect(Rect(0, 0, 50, 50));
  Canvas->Brush()->SetColor(clBlue);
  Canvas->FillRect(Rect(50, 0, 100, 50));
}

}  // namespace

TEST(MetafileTest, ARecordingPlaysScaledIntoABitmap) {
  const int Start = GdiHandleCount();
  std::vector<HGDIOBJ> Exposed;
  {
    TOwned<TMetafile> Metafile(NewObject<TMetafile>());
    RecordHalves(Metafile.get());
    ASSERT_FALSE(Metafile->Empty());
    EXPECT_EQ(Metafile->Width(), 100);
    EXPECT_EQ(Metafile->Height(), 50);

    TOwned<TBitmap> Target(NewObject<TBitmap>(300, 120));
    Target->Canvas()->StretchDraw(Rect(0, 0, 200, 100), Metafile.get());
    TCanvas* Canvas = Target->Canvas();
    EXPECT_EQ(Canvas->Pixels(5, 5), clRed);
    EXPECT_EQ(Canvas->Pixels(95, 95), clRed) << "twice as large";
    EXPECT_EQ(Canvas->Pixels(105, 95), clBlue);
    EXPECT_EQ(Canvas->Pixels(195, 5), clBlue);
    EXPECT_EQ(Canvas->Pixels(250, 50), clWhite);
    EXPECT_EQ(Canvas->Pixels(100, 110), clWhite);

    // Saved and read back, as the template previews are.
    TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
    Metafile->SaveToStream(Stream.get());
    Stream->SetPosition(0);
    TOwned<TMetafile> Loaded(NewObject<TMetafile>());
    Loaded->LoadFromStream(Stream.get());
    EXPECT_EQ(Loaded->Width(), 100);
    EXPECT_EQ(Loaded->Height(), 50);
    Target->Canvas()->StretchDraw(Rect(0, 0, 50, 25), Loaded.get());
    EXPECT_EQ(Canvas->Pixels(20, 20), clRed);
    EXPECT_EQ(Canvas->Pixels(30, 5), clBlue);

    TOwned<TStringStream> NotEmf(NewObject<TStringStream>(AnsiString(200, 'x')));
    ExpectRaises<EInvalidGraphic>([&] { Loaded->LoadFromStream(NotEmf.get()); },
                                  "Metafile is not valid");
    EXPECT_EQ(Loaded->Width(), 100) << "a failed load keeps the picture";
    Exposed = {Metafile->Handle(), Loaded->Handle(), Target->Handle(), Target->Canvas()->Handle()};
  }
  EXPECT_EQ(GdiHandleCount(), Start);
  for (HGDIOBJ Handle : Exposed) EXPECT_EQ(GetObjectType(Handle), 0u);
}

TEST(IconTest, AnIcoFileLoadsDrawsAndSavesBack) {
  // One 16 x 16, 32-bit image: a red 8 x 8 square in the middle, the rest transparent.
  const int Size = 16;
  std::vector<Byte> File(6 + 16 + 40 + Size * Size * 4 + Size * 4);
  Byte* P = File.data();
  auto PutWord = [](Byte* At, unsigned V) { At[0] = Byte(V), At[1] = Byte(V >> 8); };
  auto PutDWord = [&](Byte* At, unsigned V) { PutWord(At, V), PutWord(At + 2, V >> 16); };
  PutWord(P + 2, 1);
  PutWord(P + 4, 1);
  P[6] = P[7] = Size;
  PutWord(P + 10, 1);
  PutWord(P + 12, 32);
  PutDWord(P + 14, static_cast<unsigned>(File.size() - 22));
  PutDWord(P + 18, 22);
  Byte* Image = P + 22;
  PutDWord(Image, 40);
  PutDWord(Image + 4, Size);
  PutDWord(Image + 8, Size * 2);  // the colour and the mask rows
  PutWord(Image + 12, 1);
  PutWord(Image + 14, 32);
  for (int Y = 4; Y < 12; ++Y)
    for (int X = 4; X < 12; ++X) PutDWord(Image + 40 + (Y * Size + X) * 4, 0xFFFF0000);
  Byte* Mask = Image + 40 + Size * Size * 4;
  for (int Y = 0; Y < Size; ++Y) {
    bool Inside = Y >= 4 && Y < 12;
    PutWord(Mask + Y * 4, Inside ? 0x0FF0 : 0xFFFF);  // pixels 4..11 clear: opaque
  }

  const int Start = GdiHandleCount();
  std::vector<HGDIOBJ> Exposed;
  std::vector<HICON> Icons;
  {
    TOwned<TMemoryStream> Stream(NewObject<TMemoryStream>());
    Stream->WriteBuffer(File.data(), static_cast<int>(File.size()));
    Stream->SetPosition(0);
    TOwned<TIcon> Icon(NewObject<TIcon>());
    Icon->LoadFromStream(Stream.get());
    EXPECT_EQ(Icon->Width(), Size);
    EXPECT_EQ(Icon->Height(), Size);

    TOwned<TBitmap> Target(NewObject<TBitmap>(20, 20));
    Target->Canvas()->Draw(2, 2, Icon.get());
    EXPECT_EQ(Target->Canvas()->Pixels(2 + 8, 2 + 8), clRed);
    EXPECT_EQ(Target->Canvas()->Pixels(2 + 1, 2 + 1), clWhite);

    TOwned<TMemoryStream> Saved(NewObject<TMemoryStream>());
    Icon->SaveToStream(Saved.get());
    ASSERT_EQ(Saved->Size(), static_cast<Int64>(File.size()));
    EXPECT_EQ(std::memcmp(Saved->Memory(), File.data(), File.size()), 0);

    TOwned<TIcon> Copy(NewObject<TIcon>());
    Copy->SetHandle(CopyIcon(Icon->Handle()));
    EXPECT_EQ(Copy->Width(), Size);
    ExpectRaises<EInvalidGraphicOperation>([&] { Copy->SaveToStream(Saved.get()); },
                                           "An icon made from a handle cannot be saved");
    EXPECT_THROW(Copy->SetWidth(32), EInvalidGraphicOperation);
    Exposed = {Target->Handle(), Target->Canvas()->Handle()};
    Icons = {Icon->Handle(), Copy->Handle()};
  }
  EXPECT_EQ(GdiHandleCount(), Start);
  for (HGDIOBJ Handle : Exposed) EXPECT_EQ(GetObjectType(Handle), 0u);
  ICONINFO Info;
  for (HICON Handle : Icons) EXPECT_FALSE(GetIconInfo(Handle, &Info)) << "the icons are destroyed";
}

namespace {
// A graphic format of the test's own: its width is the length of the file.
class TLengthGraphic : public TGraphic {
  TCLASS_DECL(TLengthGraphic, TGraphic)
 public:
  bool Empty() const override { return FLength == 0; }
  int Width() const override { return FLength; }
  int Height() const override { return 1; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void LoadFromStream(TStream* Stream) override {
    FLength = static_cast<int>(Stream->Size());
  }
  void SaveToStream(TStream*) override {}
  void Assign(TPersistent* Source) override {
    if (TLengthGraphic* Other = ObjectAs<TLengthGraphic>(Source))
      FLength = Other->FLength;
    else
      inherited::Assign(Source);
  }

 protected:
  void Draw(TCanvas*, const TRect&) override {}

 private:
  int FLength = 0;
};
TCLASS_IMPL(TLengthGraphic)
}  // namespace

class PictureTest : public ::testing::Test {
 protected:
  void TearDown() override {
    TPicture::UnregisterGraphicClass(&TLengthGraphic::StaticClass());
    for (const AnsiString& Name : Files) DeleteFileA(Name.c_str());
  }
  AnsiString File(const char* Name) {
    Files.push_back(uitest::TempPath(AnsiString("PictureTest_") + Name));
    return Files.back();
  }
  std::vector<AnsiString> Files;
};

TEST_F(PictureTest, FilesLoadByTheClassOfTheirExtension) {
  TOwned<TMetafile> Metafile(NewObject<TMetafile>());
  RecordHalves(Metafile.get());
  const AnsiString Emf = File("preview.EMF");
  Metafile->SaveToFile(Emf);
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(3, 2));
  const AnsiString Bmp = File("image.bmp");
  Bitmap->SaveToFile(Bmp);

  TOwned<TPicture> Picture(NewObject<TPicture>());
  uitest::TChangeCounter Changes;
  Picture->OnChange = Changes.Event();
  Picture->LoadFromFile(Emf);
  ASSERT_TRUE(Picture->Graphic() && Picture->Graphic()->Is<TMetafile>());
  EXPECT_EQ(Picture->Width(), 100);
  Picture->LoadFromFile(Bmp);
  ASSERT_TRUE(Picture->Graphic()->Is<TBitmap>());
  EXPECT_EQ(Picture->Height(), 2);
  EXPECT_EQ(Changes.Count, 2);
  Picture->Bitmap()->Canvas()->SetPixels(0, 0, clRed);
  EXPECT_EQ(Changes.Count, 3) << "drawing on the graphic changes the picture";

  ExpectRaises<EInvalidGraphic>([&] { Picture->LoadFromFile(File("image.xyz")); },
                                "Unknown picture file extension (.xyz)");
  EXPECT_TRUE(Picture->Graphic()->Is<TBitmap>()) << "a failed load keeps the picture";

  TPicture::RegisterFileFormat("len", "Lengths", &TLengthGraphic::StaticClass());
  const AnsiString Len = File("five.LEN");
  TOwned<TFileStream>(NewObject<TFileStream>(Len, fmCreate))->WriteBuffer("12345", 5);
  Picture->LoadFromFile(Len);
  EXPECT_TRUE(Picture->Graphic()->Is<TLengthGraphic>());
  EXPECT_EQ(Picture->Width(), 5);
  TPicture::UnregisterGraphicClass(&TLengthGraphic::StaticClass());
  EXPECT_THROW(Picture->LoadFromFile(Len), EInvalidGraphic);
}

TEST_F(PictureTest, AssigningCopiesAndAskingForAnotherKindReplaces) {
  TOwned<TBitmap> Bitmap(NewObject<TBitmap>(5, 5));
  Bitmap->Canvas()->SetPixels(1, 1, clRed);
  TOwned<TPicture> Picture(NewObject<TPicture>());
  Picture->Assign(Bitmap.get());
  ASSERT_NE(Picture->Graphic(), Bitmap.get()) << "a copy";
  EXPECT_EQ(Picture->Bitmap()->Canvas()->Pixels(1, 1), clRed);

  TOwned<TPicture> Other(NewObject<TPicture>());
  Other->Assign(Picture.get());
  EXPECT_EQ(Other->Bitmap()->Canvas()->Pixels(1, 1), clRed);
  TOwned<TBitmap> Back(NewObject<TBitmap>());
  Back->Assign(Other.get());
  EXPECT_EQ(Back->Width(), 5);

  EXPECT_TRUE(Other->Metafile()->Empty()) << "the bitmap gives way to an empty metafile";
  Other->Assign(nullptr);
  EXPECT_EQ(Other->Graphic(), nullptr);
}
