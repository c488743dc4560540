// The board profile page (Tag 30): a custom board, built from the answers of the pages
// that follow, or one of the board templates in the host's Templates folder, with the
// template's .EMF picture as a preview where it has one. The list is filled again each
// time the page is entered, so templates added meanwhile show on the next visit.
#pragma once

#include "classlib/ImgList.h"
#include "treelist/dxTL.h"
#include "treelist/dxTL_Columns.h"
#include "wizard/fIntPage.h"

// A template the list offers: its caption (the file name without folder and extension)
// and the full path of its document. The tree node that carries it owns it.
class TTemplateInfo : public TObject {
  TCLASS_DECL(TTemplateInfo, TObject)
 public:
  AnsiString Caption;
  AnsiString FileName;
};

TTemplateInfo* CreateTemplateInfo(const AnsiString& Caption, const AnsiString& FileName);

// The folder of the host executable, with its trailing backslash. Empty takes the
// running program's folder; tests point it at a folder of their own.
extern AnsiString TemplatesHostFolder;

class TfraProfiles : public TfraIntPage {
  TCLASS_DECL(TfraProfiles, TfraIntPage)
 public:
  explicit TfraProfiles(TComponent* AOwner) : TfraIntPage(AOwner) {}

  // The caption of the first node, the custom board.
  static constexpr const char* CustomCaption = "[Custom]";
  // The caption the preview panel shows when a node has no picture to show.
  static constexpr const char* NoPreviewCaption = "No Preview";

  void InitPage() override {}
  // Fills the list again.
  void EnterPage() override;
  // A node is focused and it has no children.
  bool CanGoNext() override;
  // CanGoNext and the focused node is a template.
  bool CanFinish() override;
  // IsCustom and TemplateFileName from the focused node.
  void LeavePage() override;

  // The host executable's folder + "TEMPLATES\", upper-cased as a whole.
  static AnsiString GetTemplatesFolder();
  // Adds the path of every "*.PCBDOC" file of the templates folder (not a folder so
  // named), in the order the directory search returns them, except the one named
  // TEMPLATE.PCBDOC.
  static void FindTemplateFiles(TStrings* List);
  // Clears the list (each node's data freed as it goes), adds "[Custom]" and every
  // template the host confirms, then shows buttons and preview for the focused node.
  void FillProfiles();
  // A node is focused and its text is "[Custom]" in any letter case.
  bool IsCustomProfile();

  // The form's handlers.
  void treProfilesChangeNode(TObject* Sender, TdxTreeListNode* OldNode, TdxTreeListNode* Node);
  void treProfilesDblClick(TObject* Sender);
  void treProfilesDeletion(TObject* Sender, TdxTreeListNode* Node);
  // The change-node step with the node's data read through the node object; no
  // control is bound to it.
  void treProfilesxChange(TObject* Sender, TdxTreeListNode* OldNode, TdxTreeListNode* Node);

  TPanel* Panel1 = nullptr;
  TdxTreeList* treProfiles = nullptr;
  TdxTreeListColumn* MainColumn = nullptr;
  TSplitter* Splitter1 = nullptr;
  TPanel* PeviewPanel = nullptr;
  TImage* PreviewImage = nullptr;
  TImageList* imlProfiles = nullptr;

 private:
  // Buttons and preview for Node (nullptr: none focused), its template read from Info.
  void ShowNode(TTemplateInfo* Info);
  // The template's picture in the preview; false when there is none or it cannot be
  // loaded.
  bool ShowPreview(const TTemplateInfo& Info);
};

void InitfProfiles();
void DonefProfiles();
