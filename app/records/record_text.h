// A game record as text, for the clipboard and `kaimo-cli record show`: the
// same writer and reader as the record files. A text may also be a plain
// move list, such as "1. f5 2. D6 3 c3 pass e4": move numbers and passes are
// dropped, letters of either case are columns, and "10" may name the tenth
// row.
#pragma once

#include <string>
#include <string_view>

#include "app/records/history.h"
#include "app/records/record_reader.h"

namespace kaimo {

// The record file's text of `history`; empty when the history cannot be
// written (the writer refuses it).
std::string recordText(const History& history);

// Reads `text` as a record, or as a move list when every word of it is a move
// number, a pass or a move (a record's "E" and "B" would otherwise cut a list
// such as "f5 E6" short). Results as from a file (a leading byte-order
// mark skipped); a text of more than kMaxRecordTextBytes is refused unread
// (TooLarge, an empty history).
RecordReadResult readRecordText(std::string_view text);

// The file `path` read as readRecordText reads a text: CannotOpen when it is
// not a regular file or cannot be read, TooLarge beyond kMaxRecordTextBytes.
RecordReadResult readRecordTextFile(const std::string& path);

// True, with the record text in `record`, when `text` is a plain move list
// with at least one move. One pass over the text, whatever its words.
bool moveListAsRecord(std::string_view text, std::string& record);

}  // namespace kaimo
