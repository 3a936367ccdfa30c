// What the controller tests share: the fixture that makes a controller over a
// recording window, and the positions and move helpers they build games from.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/game_controller.h"
#include "app/settings/player_settings.h"
#include "engine/board/board.h"
#include "tests/app/controller/recording_window.h"
#include "tests/common/test_boards.h"

namespace kaimo::testing {

// Routine numbers in the settings.
constexpr int kHuman = 0;
constexpr int kComputer = 1;  // "狸"
constexpr int kFox = 2;       // "狐"

inline Board initialBoard() {
  Board b;
  boardInit(b);
  return b;
}

// White a1, black a2, everything else empty: black cannot move, white can
// (a3), and after it black has no disc left.
inline Board blackMustPassBoard() {
  Board b;
  b.fill(kEmpty);
  b[0] = kWhite;
  b[1] = kBlack;
  return b;
}

// An opening of twelve plies: 84 empty squares, where "狐" needs its data.
inline Board patternOpening() {
  Board b;
  int side = boardInit(b);
  for (const int square : {43, 33, 66, 53, 52, 62, 36, 26, 25, 24, 13, 14}) {
    boardPlayInPlace(b, square, side);
    side = opponentOf(side);
  }
  return b;
}

inline int emptyCount(const Board& b) {
  DiscCounts counts;
  boardCount(b, counts);
  return counts[2];
}

inline std::vector<int> legalSquares(const Board& board, int side) {
  MoveMarks marks;
  boardLegalMarks(board, side, marks);
  std::vector<int> squares;
  for (int s = 0; s < kSquareCount; ++s) {
    if (marks[s]) squares.push_back(s);
  }
  return squares;
}

// -1 when `side` has no move, which the controller refuses like any bad click.
inline int firstLegalSquare(const Board& board, int side) {
  const std::vector<int> squares = legalSquares(board, side);
  return squares.empty() ? -1 : squares.front();
}

// The numbers of a search progress text, "%lld%% %lldKLeaf/sec %lldmsec".
struct ProgressNumbers {
  long long percent = 0;
  long long rate = 0;
  long long elapsed = 0;
  bool wholeText = false;  // nothing follows the numbers
};

inline std::optional<ProgressNumbers> readProgressText(const std::string& text) {
  ProgressNumbers numbers;
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%lld%% %lldKLeaf/sec %lldmsec%n", &numbers.percent, &numbers.rate, &numbers.elapsed,
                  &consumed) != 3) {
    return std::nullopt;
  }
  numbers.wholeText = consumed == static_cast<int>(text.size());
  return numbers;
}

// A controller made by `make` with the settings a test chooses; when the test
// ends it checks that no worker thread called the window. `Base` is the
// gtest fixture underneath, such as InTempDir for tests that write files.
template <typename Base = ::testing::Test>
class ControllerFixture : public Base {
 protected:
  void make(const PlayerSettings& s) {
    settings = s;
    controller = std::make_unique<GameController>(settings, window);
  }
  void TearDown() override {
    controller.reset();
    EXPECT_EQ(window.foreignCalls, 0) << "the window was called from a worker thread";
    Base::TearDown();
  }
  GameController& c() { return *controller; }
  // Starts the game; the first tick makes the first turn.
  void startAndTick() {
    c().start();
    c().onTimer();
  }
  // A human's click and the tick that plays it.
  void clickAndTick(int square) {
    c().clickSquare(square);
    c().onTimer();
  }

  // The controller keeps a reference to these settings, so a test may change
  // them as the settings dialog would.
  PlayerSettings settings;
  RecordingWindow window;
  std::unique_ptr<GameController> controller;
};

}  // namespace kaimo::testing
