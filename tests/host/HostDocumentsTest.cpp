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
  TRef<IDocumentKind> Unknown, Added;
  Client->GetDocumentKindByName("Schematic", Unknown.Out());
  EXPECT_EQ(Unknown.Get(), nullptr);
  EXPECT_EQ(Host->OpenDocument("Schematic", "Sheet1.SchDoc"), nullptr);
  // An added kind replaces one of the same name.
  Host->AddDocumentKind("Sch", "Sheet", "SchDoc");
  Host->AddDocumentKind("SCH", "Drawing", "Dwg");
  Client->GetDocumentKindByName("sch", Added.Out());
  ASSERT_NE(Added.Get(), nullptr);
  EXPECT_STREQ(Added->GetDefaultBaseName(), "Drawing");
}

TEST_F(HostTest, DocumentByPathFindsOnlyOpenDocumentsIgnoringCase) {
  THostDocument* First = Host->OpenDocument("PCB", "PCB1.PcbDoc");
  THostDocument* Second = Host->OpenDocument("PCB", "PCB2.PcbDoc");
  ASSERT_NE(First, nullptr);
  ASSERT_NE(Second, nullptr);
  TRef<IServerDocument> Found;
  Client->GetDocumentByPath("pcb2.PCBDOC", Found.Out());
  EXPECT_EQ(Found.Get(), Second->Interface());

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

TEST_F(HostTest, PcbDocumentHasOnePcbEditorViewThatOutlivesIt) {
  THostDocument* Document = Host->OpenDocument("PCB", "PCB1.PcbDoc");
  ASSERT_EQ(Document->GetCount(), 1);
  TRef<IServerDocumentView> View;
  Document->GetView(0, View.Out());
  ASSERT_NE(View.Get(), nullptr);
  EXPECT_STREQ(View->GetViewName(), "PCBEditor");

  TRef<IServerDocumentView> Beyond;
  Document->GetView(1, Beyond.Out());
  EXPECT_EQ(Beyond.Get(), nullptr);

  // The view answers each interface of its chain, all at the same address.
  TRef<IServerView> AsView;
  TRef<IExternalForm> AsForm;
  ASSERT_EQ(Query(View.Get(), IID_IServerView, AsView), S_OK);
  ASSERT_EQ(Query(View.Get(), IID_IExternalForm, AsForm), S_OK);
  EXPECT_EQ(static_cast<void*>(AsView.Get()), static_cast<void*>(View.Get()));
  EXPECT_EQ(static_cast<void*>(AsForm.Get()), static_cast<void*>(View.Get()));
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
  // A document the host does not hold changes nothing.
  THostDocument* Stranger = new THostDocument("PCB", "Elsewhere.PcbDoc", "", "PCBEditor");
  Client->ShowDocument(Stranger);
  Client->ShowDocument(nullptr);
  EXPECT_EQ(Host->CurrentDocument(), Second);
  EXPECT_EQ(Stranger->ShowCount(), 0);
  Stranger->Release();

  Host->CloseDocument(Second);
  EXPECT_EQ(Host->CurrentDocument(), nullptr);
  EXPECT_EQ(Host->CurrentView(), nullptr);
}

}  // namespace
