// Document kinds, open documents looked up by path, views and the current document.
#include "tests/host/HostTestSupport.h"

#include "host/HostDocuments.h"

namespace {

TEST_F(HostTest, PcbKindGivesItsBaseNameAndExtension) {
  TRef<IDocumentKind> Kind;
  Client->GetDocumentKindByName("pcb", Kind.Out());
  ASSERT_NE(Kind.Get(), nullptr);
  EXPECT_STREQ(Kind->GetDefaultBaseName(), "PCB");
  EXPECT_STREQ(Kind->GetDefaultExtension(), "PcbDoc");

  TRef<IDocumentKind> Unknown;
  Client->GetDocumentKindByName("Schematic", Unknown.Out());
  EXPECT_EQ(Unknown.Get(), nullptr);
}

TEST_F(HostTest, AddedKindReplacesOneOfTheSameName) {
  Host->AddDocumentKind("Sch", "Sheet", "SchDoc");
  Host->AddDocumentKind("SCH", "Drawing", "Dwg");
  TRef<IDocumentKind> Kind;
  Client->GetDocumentKindByName("sch", Kind.Out());
  ASSERT_NE(Kind.Get(), nullptr);
  EXPECT_STREQ(Kind->GetDefaultBaseName(), "Drawing");
  EXPECT_STREQ(Kind->GetDefaultExtension(), "Dwg");
}

TEST_F(HostTest, DocumentByPathFindsOnlyOpenDocumentsIgnoringCase) {
  THostDocument* First = Host->OpenDocument("PCB", "PCB1.PcbDoc");
  THostDocument* Second = Host->OpenDocument("PCB", "PCB2.PcbDoc");
  ASSERT_NE(First, nullptr);
  ASSERT_NE(Second, nullptr);

  TRef<IServerDocument> Found;
  Client->GetDocumentByPath("pcb2.PCBDOC", Found.Out());
  EXPECT_EQ(Found.Get(), Second->Interface());

  TRef<IServerDocument> Missing;
  Client->GetDocumentByPath("PCB3.PcbDoc", Missing.Out());
  EXPECT_EQ(Missing.Get(), nullptr);

  // A renamed document is found under its new name only; a closed one not at all.
  First->SetFileName("Board.PcbDoc");
  TRef<IServerDocument> OldName, NewName;
  Client->GetDocumentByPath("PCB1.PcbDoc", OldName.Out());
  Client->GetDocumentByPath("BOARD.PcbDoc", NewName.Out());
  EXPECT_EQ(OldName.Get(), nullptr);
  EXPECT_EQ(NewName.Get(), First->Interface());

  Host->CloseDocument(Second);
  TRef<IServerDocument> Closed;
  Client->GetDocumentByPath("PCB2.PcbDoc", Closed.Out());
  EXPECT_EQ(Closed.Get(), nullptr);
  EXPECT_EQ(Host->DocumentCount(), 1);
}

TEST_F(HostTest, UnknownKindOpensNoDocument) {
  EXPECT_EQ(Host->OpenDocument("Schematic", "Sheet1.SchDoc"), nullptr);
  EXPECT_EQ(Host->DocumentCount(), 0);
}

TEST_F(HostTest, PcbDocumentHasOnePcbEditorView) {
  IServerDocument* Document = Host->OpenDocument("PCB", "PCB1.PcbDoc");
  ASSERT_EQ(Document->GetCount(), 1);
  TRef<IServerDocumentView> View;
  Document->GetView(0, View.Out());
  ASSERT_NE(View.Get(), nullptr);
  EXPECT_STREQ(View->GetViewName(), "PCBEditor");

  TRef<IServerDocumentView> Beyond, Before;
  Document->GetView(1, Beyond.Out());
  Document->GetView(-1, Before.Out());
  EXPECT_EQ(Beyond.Get(), nullptr);
  EXPECT_EQ(Before.Get(), nullptr);

  // The view answers each interface of its chain, all at the same address.
  TRef<IServerView> AsView;
  TRef<IExternalForm> AsForm;
  ASSERT_EQ(View->QueryInterface(IID_IServerView, reinterpret_cast<void**>(AsView.Out())), S_OK);
  ASSERT_EQ(View->QueryInterface(IID_IExternalForm, reinterpret_cast<void**>(AsForm.Out())), S_OK);
  EXPECT_EQ(static_cast<void*>(AsView.Get()), static_cast<void*>(View.Get()));
  EXPECT_EQ(static_cast<void*>(AsForm.Get()), static_cast<void*>(View.Get()));
}

TEST_F(HostTest, ViewOutlivingItsClosedDocumentStillAnswers) {
  THostDocument* Document = Host->OpenDocument("PCB", "PCB1.PcbDoc");
  TRef<IServerDocumentView> View;
  Document->GetView(0, View.Out());
  Host->CloseDocument(Document);
  EXPECT_STREQ(View->GetViewName(), "PCBEditor");
  EXPECT_EQ(static_cast<THostView*>(View.Get())->Document(), nullptr);
}

TEST_F(HostTest, ShowDocumentMakesItCurrent) {
  EXPECT_EQ(Host->CurrentView(), nullptr);
  THostDocument* First = Host->OpenDocument("PCB", "PCB1.PcbDoc");
  THostDocument* Second = Host->OpenDocument("PCB", "PCB2.PcbDoc");
  Client->ShowDocument(Second);
  Client->ShowDocument(Second);
  EXPECT_EQ(Host->CurrentDocument(), Second);
  EXPECT_EQ(Host->CurrentView(), Second->View(0));
  EXPECT_EQ(Second->ShowCount(), 2);
  EXPECT_EQ(First->ShowCount(), 0);

  char Caption[256] = "";
  GetWindowTextA(Host->MainWindow(), Caption, sizeof(Caption));
  EXPECT_STREQ(Caption, "PcbHost - PCB2.PcbDoc");

  Host->CloseDocument(Second);
  EXPECT_EQ(Host->CurrentDocument(), nullptr);
  EXPECT_EQ(Host->CurrentView(), nullptr);
}

TEST_F(HostTest, ShowingAForeignDocumentChangesNothing) {
  THostDocument* Open = Host->OpenDocument("PCB", "PCB1.PcbDoc");
  Client->ShowDocument(Open);
  THostDocument* Stranger = new THostDocument("PCB", "Elsewhere.PcbDoc", "", "PCBEditor");
  Client->ShowDocument(Stranger);
  Client->ShowDocument(nullptr);
  EXPECT_EQ(Host->CurrentDocument(), Open);
  EXPECT_EQ(Stranger->ShowCount(), 0);
  Stranger->Release();
}

}  // namespace
