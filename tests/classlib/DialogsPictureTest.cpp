// The picture file dialogs: the filter of every picture format, and the open and save
// functions they run through the file-dialog seams.
#include <gtest/gtest.h>

#include <cstring>

#include "classlib/Dialogs.h"
#include "classlib/UpdateScope.h"

namespace {

int Opens = 0;
int Saves = 0;
AnsiString Filter;

AnsiString FilterOf(const OPENFILENAMEA* Info) {
  AnsiString Text;
  for (const char* Part = Info->lpstrFilter; Part && *Part; Part += std::strlen(Part) + 1)
    Text += AnsiString(Part) + "|";
  return Text;
}

BOOL WINAPI FakeOpen(OPENFILENAMEA* Info) {
  ++Opens;
  Filter = FilterOf(Info);
  std::strcpy(Info->lpstrFile, "C:\\a.bmp");
  return TRUE;
}

BOOL WINAPI FakeSave(OPENFILENAMEA* Info) {
  ++Saves;
  Filter = FilterOf(Info);
  std::strcpy(Info->lpstrFile, "C:\\b.emf");
  return TRUE;
}

TEST(PictureDialogsTest, OpenAndSaveRunTheirFunctionsWithEveryPictureFormat) {
  TValueScope<TFileNameFunc> Open(GetOpenFileNameProc, FakeOpen);
  TValueScope<TFileNameFunc> Save(GetSaveFileNameProc, FakeSave);
  Opens = Saves = 0;
  TOwned<TOpenPictureDialog> OpenDialog(NewObject<TOpenPictureDialog>(nullptr));
  EXPECT_EQ(GraphicFilter(&TGraphic::StaticClass()), OpenDialog->Filter());
  ASSERT_TRUE(OpenDialog->Execute());
  EXPECT_EQ("C:\\a.bmp", OpenDialog->FileName());
  EXPECT_EQ(1, Opens);
  EXPECT_NE(AnsiString::npos, Filter.find("Icons (*.ico)|*.ico|"));

  TOwned<TSavePictureDialog> SaveDialog(NewObject<TSavePictureDialog>(nullptr));
  SaveDialog->SetFilter("Metafiles|*.emf");
  ASSERT_TRUE(SaveDialog->Execute());
  EXPECT_EQ("C:\\b.emf", SaveDialog->FileName());
  EXPECT_EQ(1, Saves);
  EXPECT_EQ(1, Opens);
  EXPECT_EQ("Metafiles|*.emf|", Filter);
}

}  // namespace
