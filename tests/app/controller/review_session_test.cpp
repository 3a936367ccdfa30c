// The review on its own: it reads the positions of the game it is given on
// its worker, as the ticks ask it to, and stops reading when turned off.
#include "app/controller/review_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/app/controller/controller_fixture.h"

namespace kaimo {
namespace {

constexpr ReviewSettings kQuick{2, 10};

// Every move of the game has been read.
bool everyMoveRead(const ReviewSession& review, const Game& game) {
  return review.review().readCount(game.history()) + 1 == game.history().size();
}

// Ticks until `done`, or a minute has gone.
template <typename Done>
bool updateUntil(ReviewSession& review, Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    review.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TEST(ReviewSession, ReadsTheGamesPositionsAsTheTicksAsk) {
  testing::RecordingWindow window;
  Game game;
  ReviewSession review(game, window);
  review.setSettings(kQuick);
  for (int ply = 0; ply < 2; ++ply) ASSERT_TRUE(game.playMove(testing::firstLegalSquare(game.board(), game.side())));
  ASSERT_TRUE(updateUntil(review, [&] { return everyMoveRead(review, game); }));
  EXPECT_GT(window.studyChanges, 0);

  review.setReviewing(false);
  ASSERT_TRUE(game.playMove(testing::firstLegalSquare(game.board(), game.side())));
  for (int tick = 0; tick < 20; ++tick) {
    review.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(everyMoveRead(review, game)) << "a review turned off reads no more";
  review.setReviewing(true);
  EXPECT_TRUE(updateUntil(review, [&] { return everyMoveRead(review, game); }));
  EXPECT_EQ(window.foreignCalls, 0);
}

}  // namespace
}  // namespace kaimo
