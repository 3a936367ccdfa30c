// Writes a game history as a game record: an optional leading board, then
// the moves back to back, with a side token where the colour to move is not
// the one the reader will derive and a board token where replaying the move
// does not give the next position. Reading the file back gives the same
// history, every entry's colour, move and position, with the last entry's
// move as -1.
#pragma once

#include <cstdio>
#include <string>

#include "app/records/history.h"
#include "app/records/record_status.h"

namespace kaimo {

struct [[nodiscard]] RecordWriteResult {
  RecordStatus status;  // Ok, CannotOpen, WriteFailed or NotWritable
  int systemError;      // errno of the failing call, for the message; 0 if none
};

// Whether the history can be written: not empty, colours 0 or 1, squares
// 0..3, and a square index for every move that is written (all but the last).
bool isWritableHistory(const History& history);

// Writes to an open stream and flushes it. NotWritable writes nothing.
RecordWriteResult writeRecord(std::FILE* stream, const History& history);

// Replaces the file at `path` safely: on any failure the previous file is
// left as it was. CannotOpen when the temporary file beside it cannot be
// created.
RecordWriteResult writeRecord(const std::string& path, const History& history);

}  // namespace kaimo
