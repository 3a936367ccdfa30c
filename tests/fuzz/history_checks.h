// What every history a record reader gives must be: something the window
// can show and step through.
#pragma once

#include "app/records/history.h"
#include "tests/fuzz/fuzz_support.h"

namespace kaimo::fuzz {

// Never empty, every value in range, the last move -1.
inline void requireUsableHistory(const History& history) {
  require(!history.empty(), "empty history");
  require(history.back().move == -1, "last entry has a move");
  for (std::size_t i = 0; i < history.size(); ++i) {
    const HistoryEntry& entry = history[i];
    require(entry.side == kBlack || entry.side == kWhite, "side out of range");
    if (i + 1 < history.size()) require(entry.move >= 0 && entry.move < kSquareCount, "move out of range");
    for (std::int8_t square : entry.board) require(square >= kBlack && square <= kWall, "bad square");
  }
}

}  // namespace kaimo::fuzz
