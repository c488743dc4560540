// The host's document kinds, documents and views.
#pragma once

#include <string>
#include <vector>

#include "framework/RT_ClientServerInterface.h"
#include "host/HostCom.h"
#include "host/HostEditor.h"

// A kind of document: its name ("PCB"), the base name of new documents ("PCB") and
// their extension ("PcbDoc").
class THostDocumentKind final : public THostComObject<IDocumentKind> {
 public:
  THostDocumentKind(const std::string& Name, const std::string& BaseName,
                    const std::string& Extension)
      : FName(Name), FBaseName(BaseName), FExtension(Extension) {}

  const std::string& Name() const { return FName; }
  const std::string& BaseName() const { return FBaseName; }
  const std::string& Extension() const { return FExtension; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Result) override;
  const char* STDMETHODCALLTYPE GetDefaultBaseName() override { return FBaseName.c_str(); }
  const char* STDMETHODCALLTYPE GetDefaultExtension() override { return FExtension.c_str(); }

 private:
  std::string FName;
  std::string FBaseName;
  std::string FExtension;
};

class THostDocument;

// A view of a document. Its document is not counted (the document holds the view);
// it becomes nullptr when the document goes while the view is still referenced.
class THostView final : public THostComObject<IServerDocumentView> {
 public:
  THostView(THostDocument* Document, const std::string& ViewName)
      : FDocument(Document), FViewName(ViewName) {}

  THostDocument* Document() const { return FDocument; }
  const std::string& ViewName() const { return FViewName; }
  void Detach() { FDocument = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Result) override;
  const char* STDMETHODCALLTYPE GetViewName() override { return FViewName.c_str(); }

 private:
  THostDocument* FDocument;
  std::string FViewName;
};

// An open document. It has one view, of the kind's editor ("PCBEditor" for a PCB
// document). A document opened from a template keeps the template's path; its file
// name starts as that path and changes with SetFileName (the template file itself is
// never written). A PCB document's board lives in the PCB editor module: the document
// holds its handle, names it after its file name and closes it when it is closed.
class THostDocument final : public THostComObject<IServerDocument> {
 public:
  THostDocument(const std::string& Kind, const std::string& FileName,
                const std::string& TemplateFileName, const std::string& ViewName);

  const std::string& Kind() const { return FKind; }
  const std::string& FileName() const { return FFileName; }
  // The template the document was opened from, or "" for a blank document.
  const std::string& TemplateFileName() const { return FTemplateFileName; }
  // How often DoFileLoad ran, and how often the document was shown.
  int LoadCount() const { return FLoadCount; }
  int ShowCount() const { return FShowCount; }
  void Shown() { ++FShowCount; }
  // The board in the PCB editor module, or 0 when the document has none (not a PCB
  // document, no editor module, or a template the editor could not read).
  Integer Board() const { return FBoard; }
  // Makes the document's board through Editor (kept, not owned): blank, or from the
  // template. Does nothing when the document has a board.
  void OpenBoard(THostEditor* Editor);
  // Closes the board and lets go of the editor (when the document is closed).
  void CloseBoard();
  // Forgets the board without closing it (the editor module is being unloaded).
  void ForgetBoard() { FBoard = 0; }
  // Lets go of the editor for good (the host is going).
  void DetachEditor() { FEditor = nullptr; }
  // The name the document's board is saved under in the host's output folder (without
  // extension); "" until it is first saved there.
  const std::string& OutputName() const { return FOutputName; }
  void SetOutputName(const std::string& Name) { FOutputName = Name; }
  int ViewCount() const { return static_cast<int>(FViews.size()); }
  THostView* View(int Index) const;
  IServerDocument* Interface() { return this; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Result) override;
  void STDMETHODCALLTYPE DoFileLoad() override;
  int STDMETHODCALLTYPE GetCount() override { return ViewCount(); }
  const char* STDMETHODCALLTYPE GetFileName() override { return FFileName.c_str(); }
  void STDMETHODCALLTYPE SetFileName(const char* FileName) override;
  void STDMETHODCALLTYPE GetView(int Index, IServerDocumentView** View) override;

 protected:
  ~THostDocument() override;

 private:
  std::string FKind;
  std::string FFileName;
  std::string FTemplateFileName;
  int FLoadCount = 0;
  int FShowCount = 0;
  std::vector<THostView*> FViews;  // one counted reference each
  THostEditor* FEditor = nullptr;  // the host's, while the document is open
  Integer FBoard = 0;
  std::string FOutputName;
};
