// Reads a game record: moves such as "d5", "B" and a board in text form,
// "T0"/"T1" for the side to move, "E" or the end of the file to stop.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "app/records/history.h"
#include "app/records/record_limits.h"
#include "app/records/record_status.h"

namespace kaimo {

struct [[nodiscard]] RecordReadResult {
  History history;
  RecordStatus status;
};

// Status Ok or FormatError: the history holds one entry per move read, each
// with the position before the move and the colour that played it, then the
// position reached by the last complete token with move -1. It is never
// empty, so a record that breaks off after a board or side token but before
// its first move still gives the window a position to show. Status
// NotARecord (a format error before any token: the text is no record at
// all) or CannotOpen (a read error): the history is empty and the caller
// keeps its game. A leading UTF-8 byte-order mark is skipped.
RecordReadResult readRecord(std::FILE* stream);

// As above from a file; CannotOpen when it cannot be opened or read.
RecordReadResult readRecord(const std::string& path);

}  // namespace kaimo
