#include "tools/train/position_record.h"

#include <algorithm>
#include <cstring>

#include "support/files/input_file.h"
#include "support/files/safe_file.h"

namespace kaimo::train {
namespace {

constexpr unsigned char kChunkMagic[4] = {'K', 'P', 'O', 'S'};
constexpr std::uint64_t kChunkVersion = 2;
constexpr std::uint64_t kChunkVersionWithoutSearch = 1;

void putLittleEndian(unsigned char* bytes, std::uint64_t value, int width) {
  for (int b = 0; b < width; ++b) bytes[b] = static_cast<unsigned char>(value >> (8 * b));
}

std::uint64_t getLittleEndian(const unsigned char* bytes, int width) {
  std::uint64_t value = 0;
  for (int b = width - 1; b >= 0; --b) value = value << 8 | bytes[b];
  return value;
}

constexpr int kPackedBoardBytes = 25;
constexpr int kSideOffset = kPackedBoardBytes;  // the side follows the packed board
constexpr int kEmptiesOffset = 26;
constexpr int kKindOffset = 27;
constexpr int kMarginOffset = 28;
constexpr int kGameOffset = 30;
constexpr int kSearchValueOffset = 34;
constexpr int kMaxMargin = 100;  // a wipe-out

}  // namespace

int emptiesOf(const Board& board) {
  int empties = 0;
  for (const auto square : board) empties += square == kEmpty;
  return empties;
}

void encodeRecord(const TrainingPosition& position, unsigned char* bytes) {
  for (int i = 0; i < kRecordBytes; ++i) bytes[i] = 0;
  for (int s = 0; s < kSquareCount; ++s)
    bytes[s / 4] |= static_cast<unsigned char>((position.board[s] & 3) << (2 * (s % 4)));
  bytes[kSideOffset] = static_cast<unsigned char>(position.side);
  bytes[kEmptiesOffset] = static_cast<unsigned char>(emptiesOf(position.board));
  bytes[kKindOffset] = static_cast<unsigned char>(position.kind);
  const auto margin = static_cast<std::uint16_t>(static_cast<std::int16_t>(position.margin));
  bytes[kMarginOffset] = static_cast<unsigned char>(margin & 0xff);
  bytes[kMarginOffset + 1] = static_cast<unsigned char>(margin >> 8);
  const auto game = static_cast<std::uint32_t>(position.game);
  for (int b = 0; b < 4; ++b) bytes[kGameOffset + b] = static_cast<unsigned char>(game >> (8 * b));
  putLittleEndian(&bytes[kSearchValueOffset],
                  static_cast<std::uint16_t>(static_cast<std::int16_t>(position.searchValue)), 2);
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
  position.searchValue = static_cast<std::int16_t>(getLittleEndian(&bytes[kSearchValueOffset], 2));
  return position.searchValue == kNoSearchValue ||
         (position.searchValue >= -kMaxSearchValue && position.searchValue <= kMaxSearchValue);
}

bool writeChunk(const std::string& name, const std::vector<TrainingPosition>& positions, std::string& error) {
  std::vector<unsigned char> bytes(kChunkHeaderBytes + positions.size() * kRecordBytes);
  std::copy(kChunkMagic, kChunkMagic + 4, bytes.begin());
  putLittleEndian(&bytes[4], kChunkVersion, 4);
  putLittleEndian(&bytes[8], positions.size(), 8);
  for (std::size_t i = 0; i < positions.size(); ++i)
    encodeRecord(positions[i], &bytes[kChunkHeaderBytes + i * kRecordBytes]);
  const SafeWriteResult result = writeFileSafely(
      name, [&bytes](std::FILE* file) { return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(); });
  if (!result.ok()) error = "cannot write " + name + ": " + std::strerror(result.systemError);
  return result.ok();
}

bool readChunk(const std::string& name, std::vector<TrainingPosition>& positions, std::string& error) {
  std::string bytes;
  const InputFileResult read = readInputFile(name, kMaxChunkBytes, bytes);
  if (!read.ok()) {
    error = describeInputFileResult(name, read, kMaxChunkBytes);
    return false;
  }
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::uint64_t version = bytes.size() < kChunkHeaderBytes ? 0 : getLittleEndian(data + 4, 4);
  if (bytes.size() < kChunkHeaderBytes || !std::equal(kChunkMagic, kChunkMagic + 4, data) ||
      (version != kChunkVersion && version != kChunkVersionWithoutSearch)) {
    error = name + " is not a chunk of positions (empty, or no chunk header)";
    return false;
  }
  const std::uint64_t count = getLittleEndian(data + 8, 8);
  const std::size_t records = (bytes.size() - kChunkHeaderBytes) / kRecordBytes;
  if ((bytes.size() - kChunkHeaderBytes) % kRecordBytes != 0 || records != count) {
    error = name + " is damaged: its header announces " + std::to_string(count) + " positions, its length holds " +
            std::to_string(bytes.size() - kChunkHeaderBytes) + " bytes of records";
    return false;
  }
  // Grown geometrically: a training set is read chunk after chunk into one
  // vector, and an exact reserve per chunk would copy it all every time.
  if (positions.capacity() < positions.size() + records) {
    positions.reserve(std::max(positions.size() + records, 2 * positions.capacity()));
  }
  for (std::size_t i = 0; i < records; ++i) {
    TrainingPosition position;
    if (!decodeRecord(data + kChunkHeaderBytes + i * kRecordBytes, position)) {
      error = name + ": record " + std::to_string(i) + " is not a position";
      return false;
    }
    if (version == kChunkVersionWithoutSearch) position.searchValue = kNoSearchValue;
    positions.push_back(position);
  }
  return true;
}

}  // namespace kaimo::train
