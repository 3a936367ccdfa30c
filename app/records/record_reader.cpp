#include "app/records/record_reader.h"

#include <cctype>

#include "engine/board/notation.h"
#include "engine/board/turn.h"
#include "support/files/input_file.h"

namespace kaimo {
namespace {

// Reads the hundred symbols after "B". The board changes only when all of
// them were read, so a broken token never leaves a half-replaced position.
bool readBoardToken(std::FILE* stream, Board& board) {
  Board read = board;
  if (boardReadText(read, stream) != 0) return false;
  board = read;
  return true;
}

// The digit right after "T" (no white space between them).
int readSideToken(std::FILE* stream) {
  const int c = std::fgetc(stream);
  if (c == '0') return kBlack;
  if (c == '1') return kWhite;
  return -1;
}

// Some editors start a UTF-8 text with a byte-order mark. False when the
// stream starts with its first byte but not the rest (no token starts so).
bool skipByteOrderMark(std::FILE* stream) {
  const int first = std::fgetc(stream);
  if (first != 0xEF) {
    if (first != EOF) std::ungetc(first, stream);
    return true;
  }
  return std::fgetc(stream) == 0xBB && std::fgetc(stream) == 0xBF;
}

}  // namespace

RecordReadResult readRecord(std::FILE* stream) {
  RecordReadResult result{{}, RecordStatus::Ok};
  Board board;
  int side = boardInit(board);
  bool tokenRead = false;  // a move, a board or a side token
  if (!skipByteOrderMark(stream)) result.status = RecordStatus::FormatError;
  while (result.status == RecordStatus::Ok) {
    const int c = std::fgetc(stream);
    if (c == EOF || c == 'E') break;  // anything after "E" is never read
    if (std::isspace(c)) continue;
    if (c == 'B') {
      if (!readBoardToken(stream, board)) {
        result.status = RecordStatus::FormatError;
        break;
      }
    } else if (c == 'T') {
      const int newSide = readSideToken(stream);
      if (newSide < 0) {
        result.status = RecordStatus::FormatError;
        break;
      }
      side = newSide;
    } else {
      // The letter and the digit of a move, with nothing between them.
      const int square = squareFromNotation(c, std::fgetc(stream));
      if (square < 0 || result.history.size() >= kMaxRecordMoves) {
        result.status = RecordStatus::FormatError;
        break;
      }
      result.history.push_back({side, square, board});
      boardPlayInPlace(board, square, side);  // an illegal move is kept as the file says
      side = sideToMoveAfter(board, side);
    }
    tokenRead = true;
  }
  if (std::ferror(stream)) return {{}, RecordStatus::CannotOpen};
  if (result.status == RecordStatus::FormatError && !tokenRead) return {{}, RecordStatus::NotARecord};
  // Also after a format error: the moves read so far stay, and the position
  // they lead to (with any complete board or side token after them) closes
  // the history. An error after a token but before the first move thus
  // leaves one entry, the position read so far.
  result.history.push_back({side, -1, board});
  return result;
}

RecordReadResult readRecord(const std::string& path) {
  // Only a regular file: a FIFO would block the caller until someone writes.
  InputFileResult opened;
  std::FILE* stream = openInputFile(path, opened);
  if (stream == nullptr) return {{}, RecordStatus::CannotOpen};
  RecordReadResult result = readRecord(stream);
  std::fclose(stream);
  return result;
}

}  // namespace kaimo
