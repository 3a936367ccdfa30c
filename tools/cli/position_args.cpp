#include "tools/cli/position_args.h"

#include <cstdio>

#include "app/records/record_reader.h"
#include "engine/board/notation.h"
#include "engine/board/turn.h"

namespace kaimo::cli {
namespace {

int sideFromName(const std::string& name) {
  if (name == "black") return kBlack;
  if (name == "white") return kWhite;
  throw UsageError("--side must be black or white, not '" + name + "'");
}

Position positionFromBoardFile(const std::string& path, int side) {
  Position position{{}, side};
  position.board.fill(kEmpty);
  const bool useStdin = path == "-";
  std::FILE* file = useStdin ? stdin : std::fopen(path.c_str(), "r");
  if (file == nullptr) throw UsageError("cannot open board file '" + path + "'");
  const int result = boardReadText(position.board, file);
  if (!useStdin) std::fclose(file);
  if (result != 0) {
    throw UsageError("board file '" + path + "' is not a board: it needs 100 symbols from x o . - (wrong symbol or too few)");
  }
  return position;
}

// The latest position of a game record: its last entry.
Position positionFromRecord(const std::string& path) {
  const RecordReadResult record = readRecord(path);
  if (record.status != RecordStatus::Ok) {
    throw UsageError("record file '" + path + "': " + recordStatusMessage(record.status));
  }
  const HistoryEntry& last = record.history.back();
  return {last.board, last.side};
}

}  // namespace

const std::set<std::string>& positionOptions() {
  static const std::set<std::string> names = {"--moves", "--board", "--side", "--record"};
  return names;
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
  if (args.has("--moves")) return positionFromMoves(args.get("--moves", ""));
  if (args.has("--record")) return positionFromRecord(args.get("--record", ""));
  if (args.has("--board")) return positionFromBoardFile(args.get("--board", ""), sideFromName(args.get("--side", "black")));
  Position position;
  position.side = boardInit(position.board);
  return position;
}

}  // namespace kaimo::cli
