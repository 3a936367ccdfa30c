// A game record as text, for the clipboard: the same writer and reader as
// the record files. A pasted text may also be a plain move list, such as
// "1. f5 2. D6 3 c3 pass e4": move numbers and passes are dropped, letters of
// either case are columns, and "10" may name the tenth row.
#pragma once

#include <string>

#include "app/records/history.h"
#include "app/records/record_reader.h"

namespace kaimo {

// The record file's text of `history`; empty when the history cannot be
// written (the writer refuses it).
std::string recordText(const History& history);

// Reads `text` as a record, or as a move list when every word of it is a move
// number, a pass or a move (a record's "E" and "B" would otherwise cut a list
// such as "f5 E6" short). Results as from a file.
RecordReadResult readRecordText(const std::string& text);

// True, with the record text in `record`, when `text` is a plain move list
// with at least one move.
bool moveListAsRecord(const std::string& text, std::string& record);

}  // namespace kaimo
