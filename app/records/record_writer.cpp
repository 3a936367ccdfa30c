#include "app/records/record_writer.h"

#include <algorithm>
#include <cerrno>

#include "engine/board/notation.h"
#include "engine/board/turn.h"
#include "support/files/safe_file.h"

namespace kaimo {
namespace {

bool isValidBoard(const Board& board) {
  return std::all_of(board.begin(), board.end(), [](std::int8_t value) { return value >= kBlack && value <= kWall; });
}

void writeBoardToken(std::FILE* stream, const Board& board) {
  std::fputs("B\n", stream);
  boardWriteText(board, stream);
}

void writeSideTokenIfNeeded(std::FILE* stream, int wanted, int& side) {
  if (wanted == side) return;
  std::fprintf(stream, "T%d", wanted);
  side = wanted;
}

// R and S replay the file exactly as the reader will, so a token is written
// wherever the reader would otherwise derive something else.
void writeTokens(std::FILE* stream, const History& history) {
  Board replay;
  int side = boardInit(replay);
  if (history.front().board != replay) {
    writeBoardToken(stream, history.front().board);
    replay = history.front().board;
  }
  for (std::size_t i = 0; i + 1 < history.size(); ++i) {
    const HistoryEntry& entry = history[i];
    const Board& next = history[i + 1].board;
    writeSideTokenIfNeeded(stream, entry.side, side);
    std::fputc(moveLetter(entry.move), stream);
    std::fputc(moveDigit(entry.move), stream);
    const bool legal = boardPlayInPlace(replay, entry.move, side) > 1;
    // The reader applies the pass rule to the replayed board before it meets
    // a board token after the move; deriving it from the token's board
    // instead would read back the wrong colour when the two boards disagree
    // on whether the next colour can move.
    const int nextSide = sideToMoveAfter(replay, side);
    if (!legal || replay != next) {
      writeBoardToken(stream, next);
      replay = next;
    }
    side = nextSide;
  }
  // The last entry's colour too: a position set up by hand with white to
  // move must open with white to move.
  writeSideTokenIfNeeded(stream, history.back().side, side);
}

}  // namespace

bool isWritableHistory(const History& history) {
  if (history.empty()) return false;
  for (std::size_t i = 0; i < history.size(); ++i) {
    const HistoryEntry& entry = history[i];
    if (entry.side != kBlack && entry.side != kWhite) return false;
    if (!isValidBoard(entry.board)) return false;
    const bool moveIsWritten = i + 1 < history.size();
    if (moveIsWritten && (entry.move < 0 || entry.move >= kSquareCount)) return false;
  }
  return true;
}

RecordWriteResult writeRecord(std::FILE* stream, const History& history) {
  if (!isWritableHistory(history)) return {RecordStatus::NotWritable, 0};
  errno = 0;
  writeTokens(stream, history);
  if (std::fflush(stream) != 0 || std::ferror(stream)) {
    return {RecordStatus::WriteFailed, errno != 0 ? errno : EIO};
  }
  return {RecordStatus::Ok, 0};
}

RecordWriteResult writeRecord(const std::string& path, const History& history) {
  if (!isWritableHistory(history)) return {RecordStatus::NotWritable, 0};
  const SafeWriteResult result = writeFileSafely(path, [&history](std::FILE* stream) {
    writeTokens(stream, history);
    return std::ferror(stream) == 0;
  });
  switch (result.failedStep) {
    case SafeWriteStep::Done: return {RecordStatus::Ok, 0};
    case SafeWriteStep::Create: return {RecordStatus::CannotOpen, result.systemError};
    case SafeWriteStep::Write:
    case SafeWriteStep::Replace: return {RecordStatus::WriteFailed, result.systemError};
  }
  return {RecordStatus::WriteFailed, result.systemError};
}

}  // namespace kaimo
