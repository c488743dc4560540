#include "wizard/fInnerCut.h"

#include "classlib/ScopeExit.h"
#include "wizard/BoardDB_Geometry.h"
#include "wizard/BoardDB_Preview.h"
#include "wizard/EditCoord.h"

TCLASS_IMPL(TfraInnerCut)

namespace {

constexpr double CutOffPreviewFactor = 0.75;
// Where the leader of the X distance and the dimension of the height stand: this far
// in from the picture's left and right edges.
constexpr int DimensionInset = 10;
// The cut-out's keep-out frame in the preview, this many pixels outside it.
constexpr int CutOutKeepOutInset = 3;

}  // namespace

bool TfraInnerCut::CanGoNext() {
  const TBoardInfoFromUser& Info = BoardInfo();
  const bool Error =
      !CheckInnerCut(Info.BoardWidth, Info.BoardHeight, Info.CornerCut,
                     MakePoint(edtXDistance->Value(), edtYDistance->Value()),
                     MakePoint(edtWidth->Value(), edtHeight->Value()), Info.Units)
           .Ok();
  tmrError->SetEnabled(Error);
  if (!Error) imgError->Hide();
  return !Error;
}

bool TfraInnerCut::BoardPart(TBoardPart& Part) const {
  Part = bpInnerCut;
  return true;
}

TWinControl* TfraInnerCut::FieldEdit(TBoardField Field) const {
  switch (Field.Kind) {
    case bfInnerCutXDistance: return edtXDistance;
    case bfInnerCutYDistance: return edtYDistance;
    case bfInnerCutWidth: return edtWidth;
    case bfInnerCutHeight: return edtHeight;
    default: return nullptr;
  }
}

void TfraInnerCut::InitPage() {
  ReplaceWithCoordEdit(edtXDist, edtXDistance, nullptr);
  ReplaceWithCoordEdit(edtYDist, edtYDistance, nullptr);
  ReplaceWithCoordEdit(edtCenterWidth, edtWidth, nullptr);
  ReplaceWithCoordEdit(edtCenterHeight, edtHeight, nullptr);
  DrawInnerCutPreview();
}

void TfraInnerCut::EnterPage() {
  const TBoardInfoFromUser& Info = BoardInfo();
  {
    FLoading = true;
    auto Loaded = ScopeExit([this] { FLoading = false; });
    edtXDistance->SetValue(Info.InnerCutOffset.x);
    edtYDistance->SetValue(Info.InnerCutOffset.y);
    edtWidth->SetValue(Info.InnerCutSize.x);
    edtHeight->SetValue(Info.InnerCutSize.y);
  }
  DrawInnerCutPreview();
}

void TfraInnerCut::LeavePage() {
  TBoardInfoFromUser& Info = BoardInfo();
  Info.InnerCutOffset = MakePoint(edtXDistance->Value(), edtYDistance->Value());
  Info.InnerCutSize = MakePoint(edtWidth->Value(), edtHeight->Value());
}

void TfraInnerCut::ctrlChange(TObject*) {
  if (FLoading) return;
  DrawInnerCutPreview();
  UpdateWizardButtons();
}

void TfraInnerCut::tmrErrorTimer(TObject*) { imgError->SetVisible(!imgError->Visible()); }

void TfraInnerCut::DrawInnerCutPreview() {
  const TBoardInfoFromUser& Info = BoardInfo();
  TImage* Image = imgInnerCutOff;
  TRect Board;
  double Scale = 0;
  const bool HasBoard = FitBoardInPreview(Info, Image, Board, CutOffPreviewFactor, Scale);
  TPoint Notch[4];
  for (int Corner = 0; Corner < 4; ++Corner)
    Notch[Corner] = MakePoint(PreviewPixels(Info.CornerCut[Corner].x, Scale),
                              PreviewPixels(Info.CornerCut[Corner].y, Scale));
  DrawPreviewFrame(Image, HasBoard ? &Board : nullptr, Notch);
  if (!HasBoard) return;

  TCanvas* C = Image->Canvas();
  const int L = Board.left, B = Board.bottom;
  const int IW = Image->Width();
  const int XD = PreviewPixels(edtXDistance->Value(), Scale);
  const int YD = PreviewPixels(edtYDistance->Value(), Scale);
  const int CW = PreviewPixels(edtWidth->Value(), Scale);
  const int CH = PreviewPixels(edtHeight->Value(), Scale);

  // The cut-out and its keep-out frame.
  const TRect Cut = Rect(L + XD, B - (YD + CH), L + XD + CW, B - YD);
  C->Brush()->SetColor(clOlive);
  C->FrameRect(Cut);
  C->Brush()->SetColor(clFuchsia);
  C->FrameRect(Rect(Cut.left - CutOutKeepOutInset, Cut.top - CutOutKeepOutInset,
                    Cut.right + CutOutKeepOutInset, Cut.bottom + CutOutKeepOutInset));
  C->Brush()->SetColor(clBtnFace);

  const auto Line = [C](int X1, int Y1, int X2, int Y2) {
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  const int LX = DimensionInset, RX = IW - DimensionInset;

  // The X distance, from the board's left edge along the cut-out's bottom.
  int Y = ControlMiddleY(Image, edtXDistance);
  DrawHorzDimensionArrow(Image, L, Cut.left, Cut.bottom);
  DrawPreviewLeader(Image, {MakePoint(0, Y), MakePoint(LX, Y), MakePoint(LX, Cut.bottom),
                            MakePoint(L, Cut.bottom)});
  // The Y distance, from the cut-out's bottom down to the board's bottom edge.
  Y = ControlMiddleY(Image, edtYDistance);
  DrawVertDimensionArrow(Image, Cut.left, Cut.bottom, B);
  DrawPreviewLeader(Image, {MakePoint(0, Y), MakePoint(Cut.left, Y), MakePoint(Cut.left, B)});
  // The width, with extension lines up to the cut-out's top edge.
  Y = ControlMiddleY(Image, edtWidth);
  DrawHorzDimensionArrow(Image, Cut.left, Cut.right, Y);
  DrawPreviewLeader(Image, {MakePoint(IW, Y), MakePoint(Cut.right, Y)});
  C->Pen()->SetColor(clYellow);
  Line(Cut.left, Y, Cut.left, Cut.top);
  Line(Cut.right, Y, Cut.right, Cut.top);
  // The height, with extension lines across to the cut-out's right edge.
  Y = ControlMiddleY(Image, edtHeight);
  DrawVertDimensionArrow(Image, RX, Cut.top, Cut.bottom);
  DrawPreviewLeader(Image, {MakePoint(IW, Y), MakePoint(RX, Y), MakePoint(RX, Cut.top)});
  C->Pen()->SetColor(clYellow);
  Line(RX, Cut.top, Cut.right, Cut.top);
  Line(RX, Cut.bottom, Cut.right, Cut.bottom);
}

void InitfInnerCut() {
  RegisterClass(&TfraInnerCut::StaticClass());
  using F = TfraInnerCut;
  TPublish<F> P;
  P.Field("imgInnerCutOff", &F::imgInnerCutOff);
  P.Field("edtXDist", &F::edtXDist);
  P.Field("edtYDist", &F::edtYDist);
  P.Field("edtCenterWidth", &F::edtCenterWidth);
  P.Field("edtCenterHeight", &F::edtCenterHeight);
  P.Field("imgError", &F::imgError);
  P.Field("tmrError", &F::tmrError);
  P.Method<&F::ctrlChange>("ctrlChange");
  P.Method<&F::tmrErrorTimer>("tmrErrorTimer");
}

void DonefInnerCut() {
  UnRegisterPublished(&TfraInnerCut::StaticClass());
  UnRegisterClass(&TfraInnerCut::StaticClass());
}
