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

void STDMETHODCALLTYPE THostDocument::DoFileLoad() {
  HostGuardVoid([&] {
    // The content (the board of a PCB document, read from the template when there is
    // one) comes from the PCB editor module in a later step; for now the host counts
    // the loads.
    ++FLoadCount;
  });
}

void STDMETHODCALLTYPE THostDocument::SetFileName(const char* FileName) {
  HostGuardVoid([&] { FFileName = HostText(FileName); });
}

void STDMETHODCALLTYPE THostDocument::GetView(int Index, IServerDocumentView** View) {
  HostGuardVoid([&] {
    if (!View) return;
    *View = nullptr;
    HostHandOut<IServerDocumentView>(THostDocument::View(Index), View);
  });
}
