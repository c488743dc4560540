#include "wizard/fCornerCut.h"

#include "classlib/ScopeExit.h"
#include "wizard/BoardDB_Geometry.h"
#include "wizard/BoardDB_Preview.h"
#include "wizard/EditCoord.h"

TCLASS_IMPL(TfraCornerCut)

namespace {

constexpr double CutOffPreviewFactor = 0.75;
// Where the dimensions of the notch heights stand: this far in from the picture's
// left and right edges.
constexpr int HeightDimensionInset = 10;

}  // namespace

void TfraCornerCut::InitPage() {
  ReplaceWithCoordEdit(edtULWidth, edtCutWidth[bcUpperLeft], nullptr);
  ReplaceWithCoordEdit(edtULHeight, edtCutHeight[bcUpperLeft], nullptr);
  ReplaceWithCoordEdit(edtLLHeight, edtCutHeight[bcLowerLeft], nullptr);
  ReplaceWithCoordEdit(edtLLWidth, edtCutWidth[bcLowerLeft], nullptr);
  ReplaceWithCoordEdit(edtURWidth, edtCutWidth[bcUpperRight], nullptr);
  ReplaceWithCoordEdit(edtURHeight, edtCutHeight[bcUpperRight], nullptr);
  ReplaceWithCoordEdit(edtLRHeight, edtCutHeight[bcLowerRight], nullptr);
  ReplaceWithCoordEdit(edtLRWidth, edtCutWidth[bcLowerRight], nullptr);
  DrawCornerCutPreview();
}

void TfraCornerCut::EnterPage() {
  const TBoardInfoFromUser& Info = BoardInfo();
  {
    FLoading = true;
    auto Loaded = ScopeExit([this] { FLoading = false; });
    for (int Corner = 0; Corner < 4; ++Corner) {
      edtCutWidth[Corner]->SetValue(Info.CornerCut[Corner].x);
      edtCutHeight[Corner]->SetValue(Info.CornerCut[Corner].y);
    }
  }
  DrawCornerCutPreview();
}

void TfraCornerCut::LeavePage() {
  TBoardInfoFromUser& Info = BoardInfo();
  for (int Corner = 0; Corner < 4; ++Corner)
    Info.CornerCut[Corner] =
        MakePoint(edtCutWidth[Corner]->Value(), edtCutHeight[Corner]->Value());
}

bool TfraCornerCut::BoardPart(TBoardPart& Part) const {
  Part = bpCornerCuts;
  return true;
}

TWinControl* TfraCornerCut::FieldEdit(TBoardField Field) const {
  if (Field.Index < 0 || Field.Index >= 4) return nullptr;
  if (Field.Kind == bfCornerCutWidth) return edtCutWidth[Field.Index];
  if (Field.Kind == bfCornerCutHeight) return edtCutHeight[Field.Index];
  return nullptr;
}

void TfraCornerCut::ctrlChange(TObject*) {
  if (FLoading) return;
  DrawCornerCutPreview();
  UpdateWizardButtons();
}

void TfraCornerCut::DrawCornerCutPreview() {
  TImage* Image = imgCornerCutOff;
  TRect Board;
  double Scale = 0;
  const bool HasBoard = FitBoardInPreview(BoardInfo(), Image, Board,
                                          CutOffPreviewFactor, Scale);
  TPoint Notch[4];
  for (int Corner = 0; Corner < 4; ++Corner)
    Notch[Corner] = MakePoint(PreviewPixels(edtCutWidth[Corner]->Value(), Scale),
                              PreviewPixels(edtCutHeight[Corner]->Value(), Scale));
  DrawPreviewFrame(Image, HasBoard ? &Board : nullptr, Notch);
  if (!HasBoard) return;

  TCanvas* C = Image->Canvas();
  const int L = Board.left, T = Board.top, R = Board.right, B = Board.bottom;
  const int IW = Image->Width();
  const int LX = HeightDimensionInset, RX = IW - HeightDimensionInset;
  // After each arrow: its leader dotted in the arrow's black, then the extension lines
  // dotted in yellow.
  const auto Leader = [Image, C](std::initializer_list<TPoint> Points) {
    DrawPreviewLeader(Image, Points);
    C->Pen()->SetColor(clYellow);
  };
  const auto Line = [C](int X1, int Y1, int X2, int Y2) {
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  const auto MiddleY = [Image](TEditCoordEx* Edit) { return ControlMiddleY(Image, Edit); };

  // Upper left.
  {
    const TPoint N = Notch[bcUpperLeft];
    int Y = MiddleY(edtCutWidth[bcUpperLeft]);
    DrawHorzDimensionArrow(Image, L, L + N.x, Y);
    Leader({MakePoint(0, Y), MakePoint(L, Y)});
    C->LineTo(L, T + N.y);
    Line(L + N.x, Y, L + N.x, T);
    Y = MiddleY(edtCutHeight[bcUpperLeft]);
    DrawVertDimensionArrow(Image, LX, T, T + N.y);
    Leader({MakePoint(0, Y), MakePoint(LX, Y), MakePoint(LX, T)});
    C->LineTo(L + N.x, T);
    Line(LX, T + N.y, L, T + N.y);
  }
  // Lower left.
  {
    const TPoint N = Notch[bcLowerLeft];
    int Y = MiddleY(edtCutWidth[bcLowerLeft]);
    DrawHorzDimensionArrow(Image, L, L + N.x, Y);
    Leader({MakePoint(0, Y), MakePoint(L, Y)});
    C->LineTo(L, B - N.y);
    Line(L + N.x, Y, L + N.x, B);
    Y = MiddleY(edtCutHeight[bcLowerLeft]);
    DrawVertDimensionArrow(Image, LX, B - N.y, B);
    Leader({MakePoint(0, Y), MakePoint(LX, Y), MakePoint(LX, B)});
    C->LineTo(L + N.x, B);
    Line(LX, B - N.y, L, B - N.y);
  }
  // Upper right.
  {
    const TPoint N = Notch[bcUpperRight];
    int Y = MiddleY(edtCutWidth[bcUpperRight]);
    DrawHorzDimensionArrow(Image, R - N.x, R, Y);
    Leader({MakePoint(IW, Y), MakePoint(R, Y)});
    C->LineTo(R, T + N.y);
    Line(R - N.x, Y, R - N.x, T);
    Y = MiddleY(edtCutHeight[bcUpperRight]);
    DrawVertDimensionArrow(Image, RX, T, T + N.y);
    Leader({MakePoint(IW, Y), MakePoint(RX, Y), MakePoint(RX, T)});
    C->LineTo(R - N.x, T);
    Line(RX, T + N.y, R, T + N.y);
  }
  // Lower right.
  {
    const TPoint N = Notch[bcLowerRight];
    int Y = MiddleY(edtCutWidth[bcLowerRight]);
    DrawHorzDimensionArrow(Image, R - N.x, R, Y);
    Leader({MakePoint(IW, Y), MakePoint(R, Y)});
    C->LineTo(R, B - N.y);
    Line(R - N.x, Y, R - N.x, B);
    Y = MiddleY(edtCutHeight[bcLowerRight]);
    DrawVertDimensionArrow(Image, RX, B - N.y, B);
    Leader({MakePoint(IW, Y), MakePoint(RX, Y), MakePoint(RX, B)});
    C->LineTo(R - N.x, B);
    Line(RX, B - N.y, R, B - N.y);
  }
}

void InitfCornerCut() {
  RegisterClass(&TfraCornerCut::StaticClass());
  using F = TfraCornerCut;
  TPublish<F> P;
  P.Field("imgCornerCutOff", &F::imgCornerCutOff);
  P.Field("edtULWidth", &F::edtULWidth);
  P.Field("edtULHeight", &F::edtULHeight);
  P.Field("edtLLHeight", &F::edtLLHeight);
  P.Field("edtLLWidth", &F::edtLLWidth);
  P.Field("edtURWidth", &F::edtURWidth);
  P.Field("edtURHeight", &F::edtURHeight);
  P.Field("edtLRHeight", &F::edtLRHeight);
  P.Field("edtLRWidth", &F::edtLRWidth);
  P.Method<&F::ctrlChange>("ctrlChange");
}

void DonefCornerCut() {
  UnRegisterPublished(&TfraCornerCut::StaticClass());
  UnRegisterClass(&TfraCornerCut::StaticClass());
}
