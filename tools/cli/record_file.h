// A game record named on the command line, for the subcommands that go
// through a whole game (record show, review).
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "app/records/history.h"

namespace kaimo::cli {

// Reads `path` as a paste into the window is read (a record or a plain move
// list) and hands what was read to `use`, also when the record breaks off.
// The exit status: 2 when the file cannot be read, 1 when nothing of a
// record could be read in it or it is too large (in both cases `use` is not
// called), 1 after `use` when the record breaks off, 0 otherwise; the record's message
// goes to standard error after `out` has been flushed.
int withRecordFile(const std::string& path, std::FILE* out, const std::function<void(const History&)>& use);

}  // namespace kaimo::cli
