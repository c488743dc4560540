#include "wizard/fOutline.h"

#include <algorithm>
#include <cstdint>

#include "classlib/ScopeExit.h"
#include "wizard/BoardDB_Geometry.h"
#include "wizard/BoardDB_Preview.h"
#include "wizard/EditCoord.h"

TCLASS_IMPL(TfraOutline)

namespace {

constexpr double OutlinePreviewFactor = 1.0;
constexpr int OutlineKeepOutInset = 3;

// A side of a circle's box in pixels. An arc that is almost straight has a circle far
// larger than the picture; its box is kept within the range that drawing takes.
int CircleBox(std::int64_t Value) {
  constexpr std::int64_t Limit = std::int64_t(1) << 30;
  return static_cast<int>(std::clamp(Value, -Limit, Limit));
}

}  // namespace

TRadioButton* TfraOutline::ArcButton(int Side) const {
  switch (Side) {
    case bsLeft: return rbnLeftArc;
    case bsTop: return rbnTopArc;
    case bsRight: return rbnRightArc;
    default: return rbnBottomArc;
  }
}

TRadioButton* TfraOutline::StraightButton(int Side) const {
  switch (Side) {
    case bsLeft: return rbnLeftStraight;
    case bsTop: return rbnTopStraight;
    case bsRight: return rbnRightStraight;
    default: return rbnBottomStraight;
  }
}

void TfraOutline::InitPage() {
  ReplaceWithCoordEdit(Edit1, edtArcHeight[bsTop], nullptr);
  ReplaceWithCoordEdit(Edit2, edtArcHeight[bsLeft], nullptr);
  ReplaceWithCoordEdit(Edit3, edtArcHeight[bsRight], nullptr);
  ReplaceWithCoordEdit(Edit4, edtArcHeight[bsBottom], nullptr);
  DrawOutlinePreview();
}

void TfraOutline::EnterPage() {
  const TBoardInfoFromUser& Info = BoardInfo();
  {
    FLoading = true;
    auto Loaded = ScopeExit([this] { FLoading = false; });
    for (int Side = 0; Side < 4; ++Side) {
      ArcButton(Side)->SetChecked(Info.ArcSide[Side]);
      StraightButton(Side)->SetChecked(!Info.ArcSide[Side]);
      edtArcHeight[Side]->SetValue(Info.ArcHeight[Side]);
    }
  }
  DrawOutlinePreview();
}

void TfraOutline::LeavePage() {
  TBoardInfoFromUser& Info = BoardInfo();
  for (int Side = 0; Side < 4; ++Side) {
    Info.ArcSide[Side] = ArcButton(Side)->Checked();
    Info.ArcHeight[Side] = edtArcHeight[Side]->Value();
  }
}

bool TfraOutline::BoardPart(TBoardPart& Part) const {
  Part = bpOutline;
  return true;
}

TWinControl* TfraOutline::FieldEdit(TBoardField Field) const {
  if (Field.Kind != bfArcHeight || Field.Index < 0 || Field.Index >= 4) return nullptr;
  return edtArcHeight[Field.Index];
}

void TfraOutline::ctrlChange(TObject*) {
  if (FLoading) return;
  DrawOutlinePreview();
  UpdateWizardButtons();
}

void TfraOutline::UpdateArcSides(double Scale) {
  for (int Side = 0; Side < 4; ++Side)
    DrawnAsArc[Side] =
        ArcButton(Side)->Checked() && PreviewPixels(edtArcHeight[Side]->Value(), Scale) > 0;
}

void TfraOutline::DrawOutlinePreview() {
  TImage* Image = imgCustomOutline;
  TRect Board;
  double Scale = 0;
  const bool HasBoard = FitBoardInPreview(BoardInfo(), Image, Board,
                                          OutlinePreviewFactor, Scale);
  UpdateArcSides(Scale);
  DrawPreviewFrame(Image, nullptr, nullptr);
  if (!HasBoard) return;

  // The shape in pixels with Y turned upward (y becomes -y), as the board maker makes
  // it in host coordinates; every point is turned back as it is drawn.
  Integer Heights[4];
  for (int Side = 0; Side < 4; ++Side)
    Heights[Side] = DrawnAsArc[Side] ? PreviewPixels(edtArcHeight[Side]->Value(), Scale) : 0;
  const TCustomOutline Shape = CustomOutline(Board.left, -Board.bottom, Board.right,
                                             -Board.top, DrawnAsArc, Heights,
                                             OutlineKeepOutInset);
  TCanvas* C = Image->Canvas();
  // A side from one point to the next: a line, or the arc of its circle drawn
  // counter-clockwise from the first point to the second.
  const auto DrawSide = [C](const TOutlineSide& Side, TPoint From, TPoint To) {
    From.y = -From.y;
    To.y = -To.y;
    if (Side.IsArc) {
      const std::int64_t CX = Side.CX, CY = -std::int64_t(Side.CY), R = Side.Radius;
      C->Arc(CircleBox(CX - R), CircleBox(CY - R), CircleBox(CX + R), CircleBox(CY + R),
             From.x, From.y, To.x, To.y);
    } else {
      C->MoveTo(From.x, From.y);
      C->LineTo(To.x, To.y);
    }
  };
  const TPoint TL = MakePoint(Shape.L1, Shape.T1), TR = MakePoint(Shape.R1, Shape.T1);
  const TPoint BL = MakePoint(Shape.L1, Shape.B1), BR = MakePoint(Shape.R1, Shape.B1);
  C->Pen()->SetColor(clOlive);
  DrawSide(Shape.Sides[bsTop], TR, TL);
  DrawSide(Shape.Sides[bsLeft], TL, BL);
  DrawSide(Shape.Sides[bsBottom], BL, BR);
  DrawSide(Shape.Sides[bsRight], BR, TR);
  C->Pen()->SetColor(clFuchsia);
  DrawSide(Shape.KeepOutSides[bsLeft], Shape.KeepOutTL, Shape.KeepOutBL);
  DrawSide(Shape.KeepOutSides[bsTop], Shape.KeepOutTR, Shape.KeepOutTL);
  DrawSide(Shape.KeepOutSides[bsRight], Shape.KeepOutBR, Shape.KeepOutTR);
  DrawSide(Shape.KeepOutSides[bsBottom], Shape.KeepOutBL, Shape.KeepOutBR);
}

void InitfOutline() {
  RegisterClass(&TfraOutline::StaticClass());
  using F = TfraOutline;
  TPublish<F> P;
  P.Field("imgCustomOutline", &F::imgCustomOutline);
  P.Field("pnlTop", &F::pnlTop);
  P.Field("pnlLeft", &F::pnlLeft);
  P.Field("pnlRight", &F::pnlRight);
  P.Field("pnlBottom", &F::pnlBottom);
  P.Field("rbnTopArc", &F::rbnTopArc);
  P.Field("rbnTopStraight", &F::rbnTopStraight);
  P.Field("rbnLeftArc", &F::rbnLeftArc);
  P.Field("rbnLeftStraight", &F::rbnLeftStraight);
  P.Field("rbnRightArc", &F::rbnRightArc);
  P.Field("rbnRightStraight", &F::rbnRightStraight);
  P.Field("rbnBottomArc", &F::rbnBottomArc);
  P.Field("rbnBottomStraight", &F::rbnBottomStraight);
  P.Field("Edit1", &F::Edit1);
  P.Field("Edit2", &F::Edit2);
  P.Field("Edit3", &F::Edit3);
  P.Field("Edit4", &F::Edit4);
  P.Method<&F::ctrlChange>("ctrlChange");
}

void DonefOutline() {
  UnRegisterPublished(&TfraOutline::StaticClass());
  UnRegisterClass(&TfraOutline::StaticClass());
}
