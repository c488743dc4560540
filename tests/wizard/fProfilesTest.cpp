// The board profile page: the list of "[Custom]" and the templates of a folder, the
// buttons and the record it leaves, the preview, and the templates' data owned by the
// list's nodes.
#include "tests/wizard/WizardFixture.h"

#include <memory>

#include "classlib/StrUtils.h"
#include "tests/support/FileSupport.h"
#include "wizard/fProfiles.h"

namespace wiztest {
namespace {

constexpr int ProfilesPageTag = 30;
constexpr int DetailsPageTag = 40;
constexpr int LayersPageTag = 90;

// Writes an enhanced metafile of a red rectangle, Width x Height pixels.
void WriteRedPicture(const std::string& Path, int Width, int Height) {
  HDC Dc = CreateEnhMetaFileA(nullptr, Path.c_str(), nullptr, nullptr);
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  RECT R{0, 0, Width, Height};
  FillRect(Dc, &R, Red);
  DeleteObject(Red);
  DeleteEnhMetaFile(CloseEnhMetaFile(Dc));
}

// Records each node's data as the list frees the node, then lets the page free it.
class TDeletionLog {
 public:
  explicit TDeletionLog(TfraProfiles* APage) : Page(APage) {}
  void Deleted(TObject* Sender, TdxTreeListNode* Node) {
    if (Node->Data()) Freed.push_back(Node->Data());
    Page->treProfilesDeletion(Sender, Node);
    if (Node->Data()) KeptData = true;
  }
  TfraProfiles* Page;
  std::vector<void*> Freed;
  bool KeptData = false;
};

class ProfilesPageTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    if (HasFatalFailure()) return;
    Root = NewScratchFolder("profiles");
    ASSERT_FALSE(Root.empty());
    Templates = Root + "Templates\\";
    TemplatesHostFolder = Root;
  }
  void TearDown() override {
    TemplatesHostFolder = WizardHostRoot();
    RemoveScratchFolder(Templates);
    RemoveScratchFolder(Root);
    WizardTest::TearDown();
  }
  // The templates folder with these files, each holding its own name.
  void MakeTemplates(std::initializer_list<const char*> Names) {
    ASSERT_TRUE(CreateDirectoryA(Templates.c_str(), nullptr));
    for (const char* Name : Names) WriteFileText(Templates + Name, Name);
  }
  // Next from the welcome page to the profile page.
  static std::vector<TStep> ToProfiles() {
    return {[](TForm_BoardWizard* D) { Click(D->btnNext); },
            [](TForm_BoardWizard* D) { Click(D->btnNext); },
            [](TForm_BoardWizard* D) { ASSERT_EQ(ShownTag(D), ProfilesPageTag); }};
  }
  static std::vector<std::string> Captions(TfraProfiles* P) {
    std::vector<std::string> Result;
    for (int I = 0; I < P->treProfiles->Count(); ++I)
      Result.push_back(P->treProfiles->Items(I)->Strings(0));
    return Result;
  }
  // Focuses the node captioned Caption, as the user's choice does.
  static void Choose(TfraProfiles* P, const std::string& Caption) {
    for (int I = 0; I < P->treProfiles->Count(); ++I)
      if (P->treProfiles->Items(I)->Strings(0) == Caption) {
        P->treProfiles->SetFocusedNode(P->treProfiles->Items(I), 0, true);
        return;
      }
    ADD_FAILURE() << "no node " << Caption;
  }
  static bool ShowsPicture(TfraProfiles* P) {
    TGraphic* G = P->PreviewImage->Picture()->Graphic();
    return G && !G->Empty() && P->PeviewPanel->Caption().empty();
  }
  static bool ShowsNoPreview(TfraProfiles* P) {
    TGraphic* G = P->PreviewImage->Picture()->Graphic();
    return (!G || G->Empty()) && P->PeviewPanel->Caption() == "No Preview";
  }

  std::string Root, Templates;
};

TEST_F(ProfilesPageTest, TheFormFileGivesAFlatOneColumnListBesideThePreview) {
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraProfiles* P = D->fraProfiles;
    TdxTreeList* List = P->treProfiles;
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->Parent(), P->Panel1);
    EXPECT_EQ(P->Panel1->BorderWidth(), 4);
    EXPECT_EQ(P->PeviewPanel->Align(), alRight);
    EXPECT_EQ(P->PeviewPanel->BevelInner(), bvLowered);
    EXPECT_EQ(P->PreviewImage->Parent(), P->PeviewPanel);
    EXPECT_TRUE(P->PreviewImage->Proportional());
    EXPECT_NE(P->imlProfiles, nullptr);
    EXPECT_EQ(List->ColumnCount(), 1);
    EXPECT_NE(P->MainColumn, nullptr);
    EXPECT_FALSE(List->ShowHeader());
    EXPECT_FALSE(List->ShowLines());
    EXPECT_FALSE(List->ShowRoot());
    EXPECT_FALSE(List->HideSelection());
    EXPECT_TRUE(List->Options().Contains(aoRowSelect));
    EXPECT_EQ(List->LookAndFeel(), lfFlat);
    EXPECT_TRUE(List->OnDblClick.Assigned());
    EXPECT_TRUE(List->OnChangeNode.Assigned());
    EXPECT_TRUE(List->OnDeletion.Assigned());
    Click(D->btnCancel);
  });
  Run(Steps);
}

TEST_F(ProfilesPageTest, ListsCustomThenTheFolderTemplatesInDirectoryOrder) {
  MakeTemplates({"A.PCBDOC", "TEMPLATE.PCBDOC", "B.PcbDoc", "C.txt"});
  std::vector<std::string> Expected{"[Custom]"};
  for (const std::string& Name : FilesIn(Templates, "*.PCBDOC"))
    if (UpperCase(Name) != "TEMPLATE.PCBDOC") Expected.push_back(ChangeFileExt(Name, ""));
  ASSERT_EQ(Expected.size(), 3u);

  EXPECT_EQ(TfraProfiles::GetTemplatesFolder(), UpperCase(Templates));
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([&](TForm_BoardWizard* D) {
    TfraProfiles* P = D->fraProfiles;
    EXPECT_EQ(Captions(P), Expected);
    EXPECT_EQ(P->treProfiles->Items(0)->Data(), nullptr);
    for (int I = 1; I < P->treProfiles->Count(); ++I) {
      auto* Info = static_cast<TTemplateInfo*>(P->treProfiles->Items(I)->Data());
      ASSERT_NE(Info, nullptr);
      EXPECT_EQ(Info->Caption, Expected[I]);
      EXPECT_TRUE(SameText(Info->FileName, Templates + Expected[I] + ".PCBDOC")) << Info->FileName;
    }
    Click(D->btnCancel);
  });
  Run(Steps);
}

TEST_F(ProfilesPageTest, AFolderNamedLikeATemplateIsNotListed) {
  MakeTemplates({"A.PCBDOC"});
  const std::string Folder = Templates + "Folder.PcbDoc";
  ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr));
  std::vector<std::string> Shown;
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([&](TForm_BoardWizard* D) {
    Shown = Captions(D->fraProfiles);
    Click(D->btnCancel);
  });
  Run(Steps);
  RemoveDirectoryA(Folder.c_str());
  EXPECT_EQ(Shown, (std::vector<std::string>{"[Custom]", "A"}));
}

TEST_F(ProfilesPageTest, AMissingFolderLeavesCustomAlone) {
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([](TForm_BoardWizard* D) {
    EXPECT_EQ(Captions(D->fraProfiles), std::vector<std::string>{"[Custom]"});
    EXPECT_TRUE(D->btnNext->Enabled());
    Click(D->btnCancel);
  });
  Run(Steps);
}

TEST_F(ProfilesPageTest, CustomGoesOnOnlyATemplateFinishes) {
  MakeTemplates({"A.PCBDOC"});
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraProfiles* P = D->fraProfiles;
    ASSERT_NE(P->treProfiles->FocusedNode(), nullptr);
    EXPECT_TRUE(P->IsCustomProfile());
    EXPECT_TRUE(D->btnNext->Enabled());
    EXPECT_FALSE(D->btnFinish->Enabled());
    Choose(P, "A");
    EXPECT_FALSE(P->IsCustomProfile());
    EXPECT_TRUE(D->btnNext->Enabled());
    EXPECT_TRUE(D->btnFinish->Enabled());
    Choose(P, "[Custom]");
    EXPECT_FALSE(D->btnFinish->Enabled());
    Click(D->btnCancel);
  });
  Run(Steps);
}

TEST_F(ProfilesPageTest, ATemplateSkipsTheCustomPagesAndCustomAgainClearsIt) {
  MakeTemplates({"A.PCBDOC"});
  std::vector<int> Tags;
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([&](TForm_BoardWizard* D) {
    Choose(D->fraProfiles, "A");
    Click(D->btnNext);
    Tags.push_back(ShownTag(D));
    EXPECT_FALSE(D->BoardInfo->IsCustom);
    EXPECT_TRUE(SameText(D->BoardInfo->TemplateFileName, Templates + "A.PCBDOC"));
    Click(D->btnBack);
    Tags.push_back(ShownTag(D));
  });
  Steps.push_back([&](TForm_BoardWizard* D) {
    Choose(D->fraProfiles, "[Custom]");
    Click(D->btnNext);
    Tags.push_back(ShownTag(D));
    EXPECT_TRUE(D->BoardInfo->IsCustom);
    EXPECT_EQ(D->BoardInfo->TemplateFileName, "");
    Click(D->btnCancel);
  });
  Run(Steps);
  EXPECT_EQ(Tags, (std::vector<int>{LayersPageTag, ProfilesPageTag, DetailsPageTag}));
}

TEST_F(ProfilesPageTest, DoubleClickingATemplateLandsOnTheLayersPage) {
  MakeTemplates({"A.PCBDOC"});
  int Tag = -1;
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([&](TForm_BoardWizard* D) {
    TfraProfiles* P = D->fraProfiles;
    Choose(P, "A");
    // A double click from something other than the list does nothing.
    P->treProfilesDblClick(D->btnNext);
    EXPECT_EQ(ShownTag(D), ProfilesPageTag);
    P->treProfiles->OnDblClick(P->treProfiles);
    Tag = ShownTag(D);
    EXPECT_EQ(D->BoardInfo->TemplateFileName.empty(), false);
    Click(D->btnCancel);
  });
  Run(Steps);
  EXPECT_EQ(Tag, LayersPageTag);
}

TEST_F(ProfilesPageTest, ThePreviewShowsATemplatePictureOrNoPreview) {
  MakeTemplates({"A.PCBDOC", "B.PCBDOC", "C.PCBDOC"});
  WriteRedPicture(Templates + "A.EMF", 400, 300);
  WriteFileText(Templates + "C.EMF", "not a metafile");
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraProfiles* P = D->fraProfiles;
    EXPECT_TRUE(ShowsNoPreview(P));
    Choose(P, "A");
    EXPECT_TRUE(ShowsPicture(P));
    EXPECT_TRUE(ObjectAs<TMetafile>(P->PreviewImage->Picture()->Graphic()) != nullptr);
    // Scaled down to fit the panel, its shape kept, and painted there.
    const TRect R = P->PreviewImage->DestRect();
    EXPECT_LE(R.right - R.left, P->PreviewImage->Width());
    EXPECT_NEAR((R.right - R.left) * 3, (R.bottom - R.top) * 4, 12);
    uitest::PaintNow(P->PeviewPanel);
    const int X = P->PreviewImage->Left() + (R.left + R.right) / 2;
    const int Y = P->PreviewImage->Top() + (R.top + R.bottom) / 2;
    EXPECT_EQ(uitest::ScreenPixel(P->PeviewPanel->Handle(), X, Y), RGB(255, 0, 0));
    Choose(P, "B");
    EXPECT_TRUE(ShowsNoPreview(P));
    Choose(P, "C");
    EXPECT_TRUE(ShowsNoPreview(P));
    // The unbound handler does the same.
    P->treProfilesxChange(P->treProfiles, nullptr, P->treProfiles->Items(1));
    EXPECT_TRUE(ShowsPicture(P));
    Click(D->btnCancel);
  });
  Run(Steps);
}

TEST_F(ProfilesPageTest, AReturnVisitShowsNoPictureOfTheTemplateChosenBefore) {
  MakeTemplates({"A.PCBDOC"});
  WriteRedPicture(Templates + "A.EMF", 400, 300);
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([](TForm_BoardWizard* D) {
    Choose(D->fraProfiles, "A");
    EXPECT_TRUE(ShowsPicture(D->fraProfiles));
    Click(D->btnNext);
    Click(D->btnBack);
  });
  Steps.push_back([](TForm_BoardWizard* D) {
    TfraProfiles* P = D->fraProfiles;
    ASSERT_EQ(ShownTag(D), ProfilesPageTag);
    TdxTreeListNode* Focused = P->treProfiles->FocusedNode();
    if (!Focused || P->IsCustomProfile()) {
      EXPECT_TRUE(ShowsNoPreview(P));
      EXPECT_FALSE(D->btnFinish->Enabled());
    } else {
      EXPECT_TRUE(ShowsPicture(P));
    }
    Click(D->btnCancel);
  });
  Run(Steps);
}

TEST_F(ProfilesPageTest, EveryTemplateIsFreedOnceOnRefillAndWhenTheDialogCloses) {
  MakeTemplates({"A.PCBDOC", "B.PCBDOC"});
  std::unique_ptr<TDeletionLog> Log;
  std::vector<void*> First, Second;
  auto Data = [](TfraProfiles* P) {
    std::vector<void*> Result;
    for (int I = 0; I < P->treProfiles->Count(); ++I)
      if (void* D = P->treProfiles->Items(I)->Data()) Result.push_back(D);
    return Result;
  };
  std::vector<TStep> Steps = ToProfiles();
  Steps.push_back([&](TForm_BoardWizard* D) {
    TfraProfiles* P = D->fraProfiles;
    Log.reset(new TDeletionLog(P));
    P->treProfiles->OnDeletion = TTLExpandedEvent::Bind<&TDeletionLog::Deleted>(Log.get());
    First = Data(P);
    Click(D->btnNext);
    Click(D->btnBack);
  });
  Steps.push_back([&](TForm_BoardWizard* D) {
    EXPECT_EQ(Log->Freed, First);
    Second = Data(D->fraProfiles);
    Log->Freed.clear();
    Click(D->btnCancel);
  });
  Run(Steps);
  ASSERT_TRUE(Log);
  EXPECT_EQ(First.size(), 2u);
  EXPECT_EQ(Log->Freed, Second);
  EXPECT_FALSE(Log->KeptData);
}

}  // namespace
}  // namespace wiztest
