#include "tools/train/position_record.h"

#include <memory>

namespace kaimo::train {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

constexpr int kPackedBoardBytes = 25;
constexpr int kSideOffset = 25;
constexpr int kEmptiesOffset = 26;
constexpr int kKindOffset = 27;
constexpr int kMarginOffset = 28;
constexpr int kGameOffset = 30;
constexpr int kMaxMargin = 100;  // a wipe-out

}  // namespace

int emptiesOf(const Board& board) {
  int empties = 0;
  for (const auto square : board) empties += square == kEmpty;
  return empties;
}

void encodeRecord(const TrainingPosition& position, unsigned char* bytes) {
  for (int i = 0; i < kRecordBytes; ++i) bytes[i] = 0;
  for (int s = 0; s < kSquareCount; ++s) bytes[s / 4] |= static_cast<unsigned char>((position.board[s] & 3) << (2 * (s % 4)));
  bytes[kSideOffset] = static_cast<unsigned char>(position.side);
  bytes[kEmptiesOffset] = static_cast<unsigned char>(emptiesOf(position.board));
  bytes[kKindOffset] = static_cast<unsigned char>(position.kind);
  const auto margin = static_cast<std::uint16_t>(static_cast<std::int16_t>(position.margin));
  bytes[kMarginOffset] = static_cast<unsigned char>(margin & 0xff);
  bytes[kMarginOffset + 1] = static_cast<unsigned char>(margin >> 8);
  const auto game = static_cast<std::uint32_t>(position.game);
  for (int b = 0; b < 4; ++b) bytes[kGameOffset + b] = static_cast<unsigned char>(game >> (8 * b));
}

bool decodeRecord(const unsigned char* bytes, TrainingPosition& position) {
  for (int s = 0; s < kSquareCount; ++s) {
    const int value = (bytes[s / 4] >> (2 * (s % 4))) & 3;
    if (value == kWall) return false;
    position.board[s] = static_cast<std::int8_t>(value);
  }
  if (bytes[kSideOffset] > 1 || bytes[kKindOffset] > static_cast<int>(LabelKind::Solved)) return false;
  if (bytes[kEmptiesOffset] != emptiesOf(position.board)) return false;
  position.side = bytes[kSideOffset];
  position.kind = static_cast<LabelKind>(bytes[kKindOffset]);
  position.margin = static_cast<std::int16_t>(bytes[kMarginOffset] | bytes[kMarginOffset + 1] << 8);
  if (position.margin < -kMaxMargin || position.margin > kMaxMargin) return false;
  std::uint32_t game = 0;
  for (int b = 3; b >= 0; --b) game = game << 8 | bytes[kGameOffset + b];
  position.game = static_cast<std::int32_t>(game);
  return true;
}

bool appendPositions(const std::string& name, const std::vector<TrainingPosition>& positions) {
  File file(std::fopen(name.c_str(), "ab"));
  if (!file) return false;
  unsigned char bytes[kRecordBytes];
  bool written = true;
  for (const auto& position : positions) {
    encodeRecord(position, bytes);
    written = written && std::fwrite(bytes, 1, kRecordBytes, file.get()) == kRecordBytes;
  }
  return std::fclose(file.release()) == 0 && written;
}

bool readPositions(const std::string& name, std::vector<TrainingPosition>& positions, std::string& error) {
  File file(std::fopen(name.c_str(), "rb"));
  if (!file) {
    error = "cannot open " + name;
    return false;
  }
  unsigned char bytes[kRecordBytes];
  long index = 0;
  while (std::fread(bytes, 1, kRecordBytes, file.get()) == kRecordBytes) {
    TrainingPosition position;
    if (!decodeRecord(bytes, position)) {
      error = name + ": record " + std::to_string(index) + " is not a position";
      return false;
    }
    positions.push_back(position);
    ++index;
  }
  return true;
}

}  // namespace kaimo::train
