#include "tools/cli/position_args.h"

#include <cctype>
#include <cstdio>

#include "app/records/record_text.h"
#include "engine/board/notation.h"
#include "engine/board/turn.h"
#include "tools/common/input_text.h"
#include "tools/common/limits.h"

namespace kaimo::cli {
namespace {

int sideFromName(const std::string& name) {
  if (name == "black") return kBlack;
  if (name == "white") return kWhite;
  throw UsageError("--side must be black or white, not '" + name + "'");
}

// Nothing but white space may follow the 100 symbols: a longer file is
// most likely not the board the user meant.
bool onlySpaceFollows(std::FILE* stream) {
  for (int c; (c = std::fgetc(stream)) != EOF;) {
    if (std::isspace(c) == 0) return false;
  }
  return true;
}

Position positionFromBoardFile(const std::string& path, int side) {
  std::string text = tools::readInputText(path, tools::kMaxBoardBytes, "board file");
  Position position{{}, side};
  position.board.fill(kEmpty);
  std::FILE* stream = text.empty() ? nullptr : fmemopen(text.data(), text.size(), "r");
  const bool read = stream != nullptr && boardReadText(position.board, stream) == 0 && onlySpaceFollows(stream);
  if (stream != nullptr) std::fclose(stream);
  if (!read) {
    throw UsageError("board file '" + path + "' is not a board: it needs exactly 100 symbols from x o . - " +
                     "(a wrong symbol, too few or too many)");
  }
  return position;
}

// The latest position of a game record (or a move list): its last entry.
Position positionFromRecord(const std::string& path) {
  const RecordReadResult record = readRecordTextFile(path);
  if (record.status != RecordStatus::Ok) {
    throw UsageError("record file '" + path + "': " + recordStatusMessage(record.status));
  }
  const HistoryEntry& last = record.history.back();
  return {last.board, last.side};
}

}  // namespace

const tools::OptionList& positionOptions() {
  using tools::textOption;
  using tools::unlisted;
  static const tools::OptionList options = {
      unlisted(textOption("--moves", "MOVES", nullptr, "moves from the initial position, such as d5d4d3c3")),
      unlisted(textOption("--board", "FILE|-", nullptr, "a board as ten lines of x o . - (- reads standard input)")),
      unlisted(textOption("--side", "black|white", "black", "the side to move on --board",
                          [](const std::string&, const std::string& value) { sideFromName(value); })),
      unlisted(textOption("--record", "FILE", nullptr, "the last position of a game record or move list")),
  };
  return options;
}

Position positionFromMoves(const std::string& moves) {
  Position position;
  position.side = boardInit(position.board);
  for (std::size_t i = 0; i < moves.size(); i += 2) {
    const std::string word = moves.substr(i, 2);
    const int square = word.size() == 2 ? squareFromNotation(word[0], word[1]) : -1;
    if (square < 0) throw UsageError("'" + word + "' in --moves is not a square (a..j then 1..9 or 0)");
    if (boardPlayInPlace(position.board, square, position.side) <= 1) {
      throw UsageError("move " + std::to_string(i / 2 + 1) + " (" + word + ") in --moves is not legal");
    }
    position.side = sideToMoveAfter(position.board, position.side);
  }
  return position;
}

Position positionFrom(const Args& args) {
  const int sources = args.has("--moves") + args.has("--board") + args.has("--record");
  if (sources > 1) throw UsageError("give only one of --moves, --board and --record");
  if (args.has("--side") && !args.has("--board")) throw UsageError("--side goes with --board");
  if (args.has("--moves")) return positionFromMoves(args.get("--moves"));
  if (args.has("--record")) return positionFromRecord(args.get("--record"));
  if (args.has("--board")) return positionFromBoardFile(args.get("--board"), sideFromName(args.get("--side")));
  Position position;
  position.side = boardInit(position.board);
  return position;
}

}  // namespace kaimo::cli
