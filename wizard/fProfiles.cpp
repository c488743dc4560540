#include "wizard/fProfiles.h"

#include "classlib/FileUtils.h"
#include "classlib/ScopeExit.h"
#include "classlib/StrUtils.h"
#include "classlib/StringLists.h"
#include "classlib/UpdateScope.h"
#include "framework/ClientProcs.h"

TCLASS_IMPL(TTemplateInfo)
TCLASS_IMPL(TfraProfiles)

AnsiString TemplatesHostFolder;

TTemplateInfo* CreateTemplateInfo(const AnsiString& Caption, const AnsiString& FileName) {
  TTemplateInfo* Info = NewObject<TTemplateInfo>();
  Info->Caption = Caption;
  Info->FileName = FileName;
  return Info;
}

namespace {

TTemplateInfo* NodeTemplate(TdxTreeListNode* Node) {
  return Node ? static_cast<TTemplateInfo*>(Node->Data()) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------
// The page protocol

void TfraProfiles::EnterPage() { FillProfiles(); }

bool TfraProfiles::CanGoNext() {
  TdxTreeListNode* Node = treProfiles ? treProfiles->FocusedNode() : nullptr;
  return Node && !Node->HasChildren() && Node->Count() == 0;
}

bool TfraProfiles::CanFinish() { return CanGoNext() && !IsCustomProfile(); }

void TfraProfiles::LeavePage() {
  TBoardInfoFromUser& Info = BoardInfo();
  Info.IsCustom = IsCustomProfile();
  TTemplateInfo* Template = Info.IsCustom ? nullptr : NodeTemplate(treProfiles->FocusedNode());
  Info.TemplateFileName = Template ? Template->FileName : AnsiString();
}

// ---------------------------------------------------------------------------------
// The templates

AnsiString TfraProfiles::GetTemplatesFolder() {
  AnsiString Folder = TemplatesHostFolder;
  if (Folder.empty()) Folder = ExtractFilePath(GetModuleFileNameStr(nullptr));
  return UpperCase(IncludeTrailingPathDelimiter(Folder) + "Templates\\");
}

void TfraProfiles::FindTemplateFiles(TStrings* List) {
  const AnsiString Folder = GetTemplatesFolder();
  TSearchRec Found;
  if (FindFirst(Folder + "*.PCBDOC", faAnyFile, Found) != 0) return;
  auto SearchEnd = ScopeExit([&] { FindClose(Found); });
  do {
    // A folder named like a template is no board.
    if ((Found.Attr & faDirectory) == 0 && UpperCase(Found.Name) != "TEMPLATE.PCBDOC")
      List->Add(Folder + Found.Name);
  } while (FindNext(Found) == 0);
}

void TfraProfiles::FillProfiles() {
  {
    TUpdateScope Updating(treProfiles);
    treProfiles->ClearNodes();
    treProfiles->Add()->SetStrings(0, CustomCaption);
    TOwned<TStringList> Paths(NewObject<TStringList>());
    FindTemplateFiles(Paths.get());
    for (int I = 0; I < Paths->Count(); ++I) {
      const AnsiString Path = Paths->Strings(I);
      if (!ClientFileExists(Path)) continue;
      const AnsiString Caption = ChangeFileExt(ExtractFileName(Path), "");
      if (Caption.empty()) continue;
      TdxTreeListNode* Node = treProfiles->Add();
      Node->SetStrings(0, Caption);
      Node->SetData(CreateTemplateInfo(Caption, Path));
    }
  }
  // The list may focus its first node without telling: the buttons and the preview
  // follow the node that holds the focus now, not the one chosen on an earlier visit.
  ShowNode(NodeTemplate(treProfiles->FocusedNode()));
}

bool TfraProfiles::IsCustomProfile() {
  TdxTreeListNode* Node = treProfiles ? treProfiles->FocusedNode() : nullptr;
  return Node && SameText(Node->Strings(0), CustomCaption);
}

// ---------------------------------------------------------------------------------
// The preview

bool TfraProfiles::ShowPreview(const TTemplateInfo& Info) {
  const AnsiString Picture = ChangeFileExt(Info.FileName, ".EMF");
  if (GetFileAttributesA(Picture.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  try {
    PreviewImage->Picture()->LoadFromFile(Picture);
  } catch (Exception&) {
    return false;
  }
  PeviewPanel->SetCaption(AnsiString());
  return true;
}

void TfraProfiles::ShowNode(TTemplateInfo* Info) {
  UpdateWizardButtons();
  if (Info && ShowPreview(*Info)) return;
  PreviewImage->Picture()->Assign(nullptr);
  PeviewPanel->SetCaption(NoPreviewCaption);
}

// ---------------------------------------------------------------------------------
// Handlers

void TfraProfiles::treProfilesChangeNode(TObject*, TdxTreeListNode*, TdxTreeListNode* Node) {
  ShowNode(NodeTemplate(Node));
}

void TfraProfiles::treProfilesxChange(TObject*, TdxTreeListNode*, TdxTreeListNode* Node) {
  ShowNode(NodeTemplate(Node));
}

void TfraProfiles::treProfilesDblClick(TObject* Sender) {
  if (Sender == treProfiles) PressNext();
}

void TfraProfiles::treProfilesDeletion(TObject*, TdxTreeListNode* Node) {
  TTemplateInfo* Info = NodeTemplate(Node);
  Node->SetData(nullptr);
  if (Info) Info->Free();
}

// ---------------------------------------------------------------------------------
// The unit

void InitfProfiles() {
  RegisterClass(&TfraProfiles::StaticClass());
  using P_ = TfraProfiles;
  TPublish<P_> P;
  P.Field("Panel1", &P_::Panel1);
  P.Field("treProfiles", &P_::treProfiles);
  P.Field("MainColumn", &P_::MainColumn);
  P.Field("Splitter1", &P_::Splitter1);
  P.Field("PeviewPanel", &P_::PeviewPanel);
  P.Field("PreviewImage", &P_::PreviewImage);
  P.Field("imlProfiles", &P_::imlProfiles);
  P.Method<&P_::treProfilesChangeNode>("treProfilesChangeNode");
  P.Method<&P_::treProfilesDblClick>("treProfilesDblClick");
  P.Method<&P_::treProfilesDeletion>("treProfilesDeletion");
  P.Method<&P_::treProfilesxChange>("treProfilesxChange");
}

void DonefProfiles() {
  UnRegisterPublished(&TfraProfiles::StaticClass());
  UnRegisterClass(&TfraProfiles::StaticClass());
}
