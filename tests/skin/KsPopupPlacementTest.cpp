// Where a popup level opens, at every edge of the screen: free popups at a point,
// sub-menus of a menu bar and of a popup.
#include <gtest/gtest.h>

#include "skin/KsPopup.h"

namespace {

const TRect Screen{0, 0, 1280, 1024};
const TRect NoItem{0, 0, 0, 0};

void ExpectAt(const TPoint& P, int X, int Y) {
  EXPECT_EQ(P.x, X);
  EXPECT_EQ(P.y, Y);
}

TEST(KsPopupPlacement, AFreePopupOpensRightAndBelowWhenItFits) {
  ExpectAt(PlacePopup(Screen, TPoint{100, 200}, NoItem, 150, 300, false), 100, 200);
  ExpectAt(PlacePopup(Screen, TPoint{1130, 724}, NoItem, 150, 300, false), 1130, 724);  // exactly at the edges
}

TEST(KsPopupPlacement, AFreePopupNearTheBottomRightOpensUpAndLeftAndIsNotPushedBack) {
  ExpectAt(PlacePopup(Screen, TPoint{1200, 1000}, NoItem, 150, 300, false), 1050, 700);
  ExpectAt(PlacePopup(Screen, TPoint{1131, 100}, NoItem, 150, 300, false), 981, 100);
  // Larger than the room above and to the left: it leaves the screen there.
  ExpectAt(PlacePopup(Screen, TPoint{100, 1000}, NoItem, 1250, 1010, false), -1150, -10);
}

TEST(KsPopupPlacement, AMenuBarSubMenuOpensBelowItsItemOrAboveIt) {
  const TRect Item{200, 0, 260, 20};
  ExpectAt(PlacePopup(Screen, TPoint{0, 0}, Item, 150, 300, true), 200, 20);
  const TRect Low{200, 900, 260, 920};
  ExpectAt(PlacePopup(Screen, TPoint{0, 0}, Low, 150, 300, true), 200, 600);  // does not fit below: above
  const TRect Right{1200, 0, 1260, 20};
  ExpectAt(PlacePopup(Screen, TPoint{0, 0}, Right, 150, 300, true), 1110, 20);  // right-aligned with the item
}

TEST(KsPopupPlacement, APopupSubMenuOpensBesideItsItemAndIsClampedOnlyRightAndBottom) {
  const TRect Item{300, 100, 450, 120};
  ExpectAt(PlacePopup(Screen, TPoint{0, 0}, Item, 150, 300, false), 450, 100);
  const TRect RightLow{1150, 900, 1270, 920};
  ExpectAt(PlacePopup(Screen, TPoint{0, 0}, RightLow, 150, 300, false), 1000, 620);
  // Items reaching past the edges: flipped and still past, so moved in against them.
  const TRect Edge{1250, 0, 1300, 20};
  ExpectAt(PlacePopup(Screen, TPoint{0, 0}, Edge, 150, 300, true), 1130, 20);
  const TRect Bottom{300, 1000, 450, 1040};
  ExpectAt(PlacePopup(Screen, TPoint{0, 0}, Bottom, 150, 300, false), 450, 724);
  const TRect Left{0, 100, 10, 120};
  ExpectAt(PlacePopup(Screen, TPoint{0, 0}, Left, 1275, 300, false), -1275, 100);  // no push to the right
}

}  // namespace
