#include <gtest/gtest.h>

#include "skin/dialog_frame.h"
#include "skin/hover_buttons.h"

namespace ombrisk {
namespace {

using Indices = std::vector<std::size_t>;

// The editor dialogs' frame: OK and Cancel paired, close alone.
class DialogHover : public ::testing::Test {
 protected:
  enum { kOk, kCancel, kClose };
  HoverButtons hover{{{regionOf(dialogFrameSurface(), FrameControl::Ok).rect, 0},
                      {regionOf(dialogFrameSurface(), FrameControl::Cancel).rect, 0},
                      {regionOf(dialogFrameSurface(), FrameControl::Close).rect, 1}}};
};

TEST_F(DialogHover, FromOkStraightOntoCancelShowsCancelOverAndOkNormal) {
  EXPECT_TRUE(hover.onMouseMove(200, 260).requestHover);
  EXPECT_EQ(hover.onHover(200, 260).toOver, std::optional<std::size_t>(kOk));
  const auto onCancel = hover.onHover(300, 260);
  EXPECT_EQ(onCancel.toOver, std::optional<std::size_t>(kCancel));
  EXPECT_EQ(onCancel.toNormal, Indices{kOk});
  EXPECT_TRUE(hover.isOver(kCancel));
  EXPECT_FALSE(hover.isOver(kOk));
}

TEST_F(DialogHover, FromCloseOntoOkKeepsBothOverUntilThePointerLeaves) {
  hover.onHover(360, 10);
  const auto onOk = hover.onHover(200, 260);
  EXPECT_TRUE(onOk.toNormal.empty());
  EXPECT_TRUE(hover.isOver(kClose));
  EXPECT_TRUE(hover.isOver(kOk));
  const auto away = hover.onMouseMove(100, 100);
  EXPECT_FALSE(away.requestHover);
  EXPECT_EQ(away.toNormal, (Indices{kOk, kClose}));
  EXPECT_FALSE(hover.isOver(kOk));
  EXPECT_TRUE(hover.onMouseMove(100, 100).toNormal.empty());
}

TEST_F(DialogHover, EdgesFollowTheRegionRule) {
  EXPECT_FALSE(hover.onMouseMove(160, 260).requestHover);  // just left of OK
  EXPECT_TRUE(hover.onMouseMove(166, 253).requestHover);   // OK's own corner
  EXPECT_FALSE(hover.onMouseMove(200, 274).requestHover);  // OK's bottom edge is outside
  EXPECT_FALSE(hover.onHover(160, 260).toOver);
}

TEST(MainWindowHover, OneGroupRepaintsEveryOtherFlaggedButton) {
  HoverButtons hover({{{0, 0, 10, 10}, 0}, {{20, 0, 30, 10}, 0}, {{40, 0, 50, 10}, 0}});
  hover.onHover(5, 5);
  const auto next = hover.onHover(25, 5);
  EXPECT_EQ(next.toNormal, Indices{0});
  EXPECT_EQ(hover.onHover(25, 5).toNormal, Indices{});  // hovering again repaints nothing else
}

}  // namespace
}  // namespace ombrisk
