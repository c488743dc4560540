#include "host/HostDocuments.h"

HRESULT STDMETHODCALLTYPE THostDocumentKind::QueryInterface(REFIID Iid, void** Result) {
  return HostGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    if (Iid == IID_IUnknown) return HostAnswer<IUnknown>(this, Result);
    return E_NOINTERFACE;
  });
}

HRESULT STDMETHODCALLTYPE THostView::QueryInterface(REFIID Iid, void** Result) {
  return HostGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    if (Iid == IID_IUnknown) return HostAnswer<IUnknown>(this, Result);
    if (Iid == IID_IExternalForm) return HostAnswer<IExternalForm>(this, Result);
    if (Iid == IID_IServerView) return HostAnswer<IServerView>(this, Result);
    if (Iid == IID_IServerDocumentView) return HostAnswer<IServerDocumentView>(this, Result);
    return E_NOINTERFACE;
  });
}

THostDocument::THostDocument(const std::string& Kind, const std::string& FileName,
                             const std::string& TemplateFileName, const std::string& ViewName)
    : FKind(Kind), FFileName(FileName), FTemplateFileName(TemplateFileName) {
  FViews.push_back(new THostView(this, ViewName));
}

THostDocument::~THostDocument() {
  for (THostView* View : FViews) {
    View->Detach();
    View->Release();
  }
}

THostView* THostDocument::View(int Index) const {
  if (Index < 0 || Index >= ViewCount()) return nullptr;
  return FViews[Index];
}

HRESULT STDMETHODCALLTYPE THostDocument::QueryInterface(REFIID Iid, void** Result) {
  return HostGuard<HRESULT>(E_UNEXPECTED, [&]() -> HRESULT {
    if (!Result) return E_POINTER;
    *Result = nullptr;
    if (Iid == IID_IUnknown) return HostAnswer<IUnknown>(this, Result);
    if (Iid == IID_IServerDocument) return HostAnswer<IServerDocument>(this, Result);
    return E_NOINTERFACE;
  });
}

void THostDocument::OpenBoard(THostEditor* Editor) {
  FEditor = Editor;
  if (FBoard || !FEditor) return;
  // The editor names a board after the file it was read from; the document's own
  // name wins when they differ (a template renamed before its board was made).
  const std::string& Source = FTemplateFileName.empty() ? FFileName : FTemplateFileName;
  FBoard = FEditor->OpenBoard(FKind, Source);
  if (FBoard && Source != FFileName) FEditor->RenameBoard(FBoard, FFileName);
}

void THostDocument::CloseBoard() {
  if (FEditor) FEditor->CloseBoard(FBoard);
  FBoard = 0;
  FEditor = nullptr;
}

void STDMETHODCALLTYPE THostDocument::DoFileLoad() {
  HostGuardVoid([&] {
    // The content is loaded when the document is opened: a PCB document's board comes
    // blank or from the template then. A document left without a board (its editor
    // module was unloaded meanwhile) gets one here, if the editor is back.
    ++FLoadCount;
    OpenBoard(FEditor);
  });
}

void STDMETHODCALLTYPE THostDocument::SetFileName(const char* FileName) {
  HostGuardVoid([&] {
    FFileName = HostText(FileName);
    if (FEditor) FEditor->RenameBoard(FBoard, FFileName);
  });
}

void STDMETHODCALLTYPE THostDocument::GetView(int Index, IServerDocumentView** View) {
  HostGuardVoid([&] {
    if (!View) return;
    *View = nullptr;
    HostHandOut<IServerDocumentView>(THostDocument::View(Index), View);
  });
}
