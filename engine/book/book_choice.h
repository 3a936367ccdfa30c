// How a computer side plays from the book: while the position is in the
// book and the side would read normally (not to the end of the game), it
// plays one of the book's moves whose value lies within kBookMargin of the
// best, chosen at random, so that games from the same position differ.
#pragma once

#include <optional>
#include <random>

#include "engine/book/opening_book.h"
#include "engine/search/search_driver.h"

namespace kaimo {

// Eight discs, in hundredths. A book value is the margin of a game (one line
// of play), which tells moves a few discs apart only roughly: deep reads
// differ from the values by some 20 discs on average. Within 2 discs a
// position in play had one move to choose from, and 100 games of the
// computer against itself from the initial position repeated 29 lines;
// within 8 they play 66 different games, and the side with the book still
// scores 63 % against the computer without one (75 % within 2).
constexpr int kBookMargin = 800;

// The book's moves for a side with these settings: every legal move with its
// value, best first; empty when the position is not in the book or the side
// reads it to the end of the game.
std::vector<BookMove> bookMovesFor(const OpeningBook& book, const Board& board, int side,
                                   const SideSettings& settings);

// The moves a side in the book chooses from: those within kBookMargin of the
// best, best first.
std::vector<BookMove> bookCandidates(const OpeningBook& book, const Board& board, int side,
                                     const SideSettings& settings);

// One of the candidates, uniformly at random; nothing when there are none.
std::optional<BookMove> pickBookMove(const OpeningBook& book, const Board& board, int side,
                                     const SideSettings& settings, std::mt19937_64& random);

}  // namespace kaimo
