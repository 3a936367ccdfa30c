// The panes' texts: a text is taken back only while it is still shown.
#include "app/controller/status_panes.h"

#include <gtest/gtest.h>

#include "app/controller/game_texts.h"
#include "tests/app/controller/recording_window.h"

namespace kaimo {
namespace {

TEST(StatusPanes, ATextIsTakenBackOnlyWhileItIsShown) {
  testing::RecordingWindow window;
  StatusPanes panes(window);
  panes.set(kProgressPane, texts::kHint);
  panes.clearIf(kProgressPane, texts::kStopped);
  EXPECT_EQ(window.panes[kProgressPane], "ヒント");
  panes.clearIf(kProgressPane, texts::kHint);
  EXPECT_EQ(window.panes[kProgressPane], "");
}

TEST(StatusPanes, ClearingAllWritesOnlyThePanesThatSaySomething) {
  testing::RecordingWindow window;
  StatusPanes panes(window);
  panes.set(kBlackPane, texts::blackCountText(60));
  panes.clearAll();
  EXPECT_EQ(window.paneLog[kBlackPane], (std::vector<std::string>{"黒60石", ""}));
  EXPECT_TRUE(window.paneLog[kProgressPane].empty());
  EXPECT_TRUE(window.paneLog[kWhitePane].empty());
}

}  // namespace
}  // namespace kaimo
