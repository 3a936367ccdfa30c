// How a computer side plays from the book: while the position is in the
// book and the side would read normally (not to the end of the game), it
// plays one of the book's moves whose value lies within kBookMargin of the
// best, chosen at random, so that games from the same position differ. The
// chance of a move is in proportion to the book's lines below it, so every
// line of play the book holds (both sides choosing this way, until the book
// ends) is as likely as any other: a uniform choice at each position made
// the few short lines the common games and the many deep ones rare.
#pragma once

#include <optional>
#include <random>

#include "engine/book/opening_book.h"
#include "engine/search/search_driver.h"

namespace kaimo {

// Twenty discs, in hundredths. A book value is the margin of a game (one
// line of play), which tells moves apart only roughly: deep reads differ
// from the values by some 20 discs on average. Within 2 discs a position in
// play had one move to choose from, and 100 games of the computer against
// itself from the initial position repeated 29 lines; within 20, with the
// choice by lines, they play 91 to 96 different games (seeds 1 to 3), and
// the side with the book scores 70 to 73 % against the computer without one
// (see docs/benchmarks.md for the other margins).
constexpr int kBookMargin = 2000;

// The book's moves for a side with these settings: every legal move with its
// value, best first; empty when the position is not in the book or the side
// reads it to the end of the game.
std::vector<BookMove> bookMovesFor(const OpeningBook& book, const Board& board, int side, const SideSettings& settings);

// The moves a side in the book chooses from: those within kBookMargin of the
// best, best first.
std::vector<BookMove> bookCandidates(const OpeningBook& book, const Board& board, int side,
                                     const SideSettings& settings);

// The lines of play the book holds below each candidate (as bookCandidates
// gives them): the sequences of candidates, both sides choosing from the
// book, from the move until the book ends. A pass is no choice.
std::vector<double> bookLinesOf(const OpeningBook& book, const Board& board, int side, const SideSettings& settings,
                                const std::vector<BookMove>& candidates);

// One of the candidates, each as likely as the lines below it; nothing when
// there are none.
std::optional<BookMove> pickBookMove(const OpeningBook& book, const Board& board, int side,
                                     const SideSettings& settings, std::mt19937_64& random);

}  // namespace kaimo
