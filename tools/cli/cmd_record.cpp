#include <cstdio>

#include "engine/board/notation.h"
#include "tools/cli/commands.h"
#include "tools/cli/record_file.h"

namespace kaimo::cli {
namespace {

const char* colourName(int side) { return side == kBlack ? "black" : "white"; }

void printEntry(std::FILE* out, std::size_t index, const HistoryEntry& entry) {
  const std::string move = entry.move < 0 ? "-" : squareName(entry.move);
  std::fprintf(out, "%zu %s %s\n", index, colourName(entry.side), move.c_str());
  boardWriteText(entry.board, out);
}

}  // namespace

const CommandSyntax& recordShowSyntax() {
  static const CommandSyntax syntax{kProgram, "record show", "FILE", {}};
  return syntax;
}

int runRecord(const Words& words, std::FILE* out) {
  const Args args = Args::parse(recordShowSyntax(), words);
  if (args.positional.size() != 2 || args.positional[0] != "show") throw args.usageError();
  return withRecordFile(args.positional[1], out, [out](const History& history) {
    for (std::size_t i = 0; i < history.size(); ++i) printEntry(out, i, history[i]);
  });
}

}  // namespace kaimo::cli
