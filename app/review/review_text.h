// The review in words, the same in the window and on the command line: the
// summary of each side's costliest moves, and one line per move for
// `kaimo-cli review`. Squares are written as the board labels them (the
// tenth row is 10).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/review/game_review.h"
#include "app/texts/text.h"

namespace kaimo::texts {

inline constexpr Text kReviewWithoutFox{"狐のデータファイルが読めないため、完全読みの範囲の手だけを検討しました。",
                                        "The data files of Fox cannot be read, so only the moves within the exact "
                                        "read were reviewed."};

// What the summary writes for a named move, given the move and its words
// ("81.j2"); the window makes a link of them. None: the words as they are.
using MoveMark = std::function<std::string(const MoveReview& move, const std::string& words)>;

// "悪手 黒: 81.j2 -5石 79.c10 -3石" and "悪手 白: なし" (never a move that
// lost less than half a disc), then a line saying so when the data of "狐"
// were missing. kaimo-cli says them in Japanese.
std::vector<std::string> reviewSummaryLines(const GameReview& review, const History& history, Language language,
                                            const MoveMark& mark = nullptr);
// The same lines joined by line ends, in both languages.
Wording reviewSummaryText(const GameReview& review, const History& history, const MoveMark& mark = nullptr);
// "検討中 42/96手": while the moves are being read.
Wording reviewProgressText(std::size_t read, std::size_t total);
// "12 f5 +2.31 d6 +4.00 1.69": the move's number and square, its value, the
// best move and its value (discs, for the side that moved) and the loss;
// "-" for values not known.
std::string reviewLine(const MoveReview& move);

}  // namespace kaimo::texts
