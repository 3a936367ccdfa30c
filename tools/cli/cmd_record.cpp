#include <cstdio>

#include "app/records/record_text.h"
#include "engine/board/notation.h"
#include "tools/cli/commands.h"

namespace kaimo::cli {
namespace {

const char* colourName(int side) { return side == kBlack ? "black" : "white"; }

void printEntry(std::FILE* out, std::size_t index, const HistoryEntry& entry) {
  const std::string move = entry.move < 0 ? "-" : squareName(entry.move);
  std::fprintf(out, "%zu %s %s\n", index, colourName(entry.side), move.c_str());
  boardWriteText(entry.board, out);
}

}  // namespace

int runRecord(const Words& words, std::FILE* out) {
  const Args args = Args::parse(words);
  args.allowOnly({});
  if (args.positional.size() != 2 || args.positional[0] != "show") {
    throw UsageError("usage: kaimo-cli record show FILE");
  }
  // Read as a paste into the window is: a record, or a plain move list.
  const RecordReadResult record = readRecordTextFile(args.positional[1]);
  if (record.status == RecordStatus::CannotOpen) {
    std::fprintf(stderr, "%s\n", recordStatusMessage(record.status));
    return 2;
  }
  // After a format error too: what was read comes first, then the message.
  for (std::size_t i = 0; i < record.history.size(); ++i) printEntry(out, i, record.history[i]);
  std::fflush(out);
  if (record.status != RecordStatus::Ok) {
    std::fprintf(stderr, "%s\n", recordStatusMessage(record.status));
    return 1;
  }
  return 0;
}

}  // namespace kaimo::cli
