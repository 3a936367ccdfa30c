#include "engine/eval/pattern_layout.h"

#include <bit>
#include <cstdio>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "support/files/input_file.h"

namespace kaimo {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A data file is only ever read when it is a regular file: a FIFO or a device
// left under a data file's name must not block the program that loads it.
File openDataFile(const char* name) {
  InputFileResult result{};
  return File(openInputFile(name, result));
}

constexpr bool kHostIsLittleEndian = std::endian::native == std::endian::little;

template <typename T>
T byteSwapped(T value) {
  auto u = static_cast<std::make_unsigned_t<T>>(value);
  std::make_unsigned_t<T> swapped = 0;
  for (std::size_t b = 0; b < sizeof(T); ++b, u >>= 8)
    swapped = static_cast<decltype(swapped)>(swapped << 8 | (u & 0xff));
  return static_cast<T>(swapped);
}

// The files are little-endian; on a big-endian machine the values just read
// are swapped in place.
template <typename T>
void swapToHost(T* values, long count) {
  if constexpr (!kHostIsLittleEndian) {
    for (long i = 0; i < count; ++i) values[i] = byteSwapped(values[i]);
  } else {
    (void)values;
    (void)count;
  }
}

long fileSize(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  const long size = std::ftell(file);
  return std::fseek(file, 0, SEEK_SET) == 0 ? size : -1;
}

bool readAt(std::FILE* file, long offset, void* destination, long bytes) {
  return std::fseek(file, offset, SEEK_SET) == 0 &&
         std::fread(destination, 1, static_cast<std::size_t>(bytes), file) == static_cast<std::size_t>(bytes);
}

template <typename T>
bool writeValues(std::FILE* file, const T* values, long count) {
  const auto n = static_cast<std::size_t>(count);
  if constexpr (kHostIsLittleEndian) return std::fwrite(values, sizeof(T), n, file) == n;
  std::vector<T> copy(values, values + count);
  swapToHost(copy.data(), count);
  return std::fwrite(copy.data(), sizeof(T), n, file) == n;
}

// A write error can first show when the buffer is flushed at the close.
bool closeWritten(File file, bool written) { return std::fclose(file.release()) == 0 && written; }

bool classesFit(const IndexTable& table) {
  if (table.classCount < 1 || table.classCount > kMaxClassCount) return false;
  for (const std::uint16_t entry : table.entries) {
    if ((entry & kClassMask) >= table.classCount) return false;
  }
  return true;
}

}  // namespace

std::string indexTableFileName(int length, int digit) {
  char name[32];
  std::snprintf(name, sizeof name, "fgtb%02d%d.kmx", length, digit);
  return name;
}

std::string indexTableFileName(const PatternDescriptor& d) {
  return indexTableFileName(indexTableLength(d), indexTableDigit(d));
}

std::string stageFileName(int stage) {
  char name[32];
  std::snprintf(name, sizeof name, "kaimogr%02d.dat", stage);
  return name;
}

int lineIndex(const int* digits, int length) {
  int raw = 0;
  for (int k = 0; k < length; ++k) raw = 3 * raw + digits[k];
  return raw;
}

int reversedLineIndex(int raw, int length) {
  int reversed = 0;
  for (int k = 0; k < length; ++k, raw /= 3) reversed = 3 * reversed + raw % 3;
  return reversed;
}

IndexTable buildLineClasses(int length, bool markMirrored) {
  IndexTable table;
  table.entries.resize(static_cast<std::size_t>(powerOfThree(length)));
  for (int raw = 0; raw < static_cast<int>(table.entries.size()); ++raw) {
    const int reversed = reversedLineIndex(raw, length);
    if (raw <= reversed) {
      table.entries[raw] = static_cast<std::uint16_t>(table.classCount++);
    } else {
      // The reverse came earlier and already has its class.
      const std::uint16_t flag = markMirrored ? kMirroredFlag : 0;
      table.entries[raw] = static_cast<std::uint16_t>((table.entries[reversed] & kClassMask) | flag);
    }
  }
  return table;
}

long patternRowCount(const PatternDescriptor& d, std::int32_t classCount) {
  switch (d.kind) {
    case kKindLine: return classCount;
    case kKindEdge: return static_cast<long>(classCount) * kCornerAreaConfigurations;
    default: return powerOfThree(d.n);
  }
}

WeightLayout weightLayoutFor(const std::array<std::int32_t, kPatternCount>& classCounts) {
  WeightLayout layout;
  long total = kFeatureCount;
  for (int p = 0; p < kPatternCount; ++p) {
    layout.offsets[p] = total;
    total += patternRowCount(kPatternDescriptors[p], classCounts[p]);
  }
  layout.rowCount = total;
  return layout;
}

const char* dataFileFault(LayoutStatus status) {
  switch (status) {
    case LayoutStatus::Ok: return "";
    case LayoutStatus::CannotOpen: return "が開けません。";
    case LayoutStatus::TooShort: return "が途中で切れています。";
    case LayoutStatus::BadClasses: return "のクラス数かクラス番号が正しくありません。";
    case LayoutStatus::NoMemory: return "を読むメモリが足りません。";
    case LayoutStatus::ReadFailed: return "が読めません。";
    case LayoutStatus::BadChecksum: return "がチェックサムの一覧（kaimodata.sum）と合いません。";
  }
  return "";
}

LayoutStatus readIndexTable(const char* name, int length, IndexTable& table) {
  const File file(openDataFile(name));
  if (!file) return LayoutStatus::CannotOpen;
  const long entryCount = powerOfThree(length);
  if (fileSize(file.get()) < kIndexEntriesOffset + 2 * entryCount) return LayoutStatus::TooShort;
  IndexTable read;
  if (!readAt(file.get(), kClassCountOffset, &read.classCount, sizeof read.classCount)) return LayoutStatus::ReadFailed;
  swapToHost(&read.classCount, 1);
  try {
    read.entries.resize(static_cast<std::size_t>(entryCount));
  } catch (const std::bad_alloc&) {
    return LayoutStatus::NoMemory;
  }
  if (!readAt(file.get(), kIndexEntriesOffset, read.entries.data(), 2 * entryCount)) return LayoutStatus::ReadFailed;
  swapToHost(read.entries.data(), entryCount);
  if (!classesFit(read)) return LayoutStatus::BadClasses;
  table = std::move(read);
  return LayoutStatus::Ok;
}

bool writeIndexTable(const char* name, const IndexTable& table) {
  File file(std::fopen(name, "wb"));
  if (!file) return false;
  unsigned char header[kIndexEntriesOffset] = {};
  const auto count = static_cast<std::uint32_t>(table.classCount);
  for (int b = 0; b < 4; ++b) header[kClassCountOffset + b] = static_cast<unsigned char>(count >> (8 * b));
  const bool written = std::fwrite(header, 1, sizeof header, file.get()) == sizeof header &&
                       writeValues(file.get(), table.entries.data(), static_cast<long>(table.entries.size()));
  return closeWritten(std::move(file), written);
}

LayoutStatus readStageWeights(const char* name, long rowCount, std::int16_t* weights, std::int16_t* output) {
  const File file(openDataFile(name));
  if (!file) return LayoutStatus::CannotOpen;
  if (fileSize(file.get()) < stageFileBytes(rowCount)) return LayoutStatus::TooShort;
  const long weightCount = rowCount * kHiddenUnits;
  if (!readAt(file.get(), 0, weights, 2 * weightCount) ||
      !readAt(file.get(), 2 * weightCount, output, 2 * kOutputWeights)) {
    return LayoutStatus::ReadFailed;
  }
  swapToHost(weights, weightCount);
  swapToHost(output, kOutputWeights);
  return LayoutStatus::Ok;
}

bool writeStageWeights(const char* name, const std::int16_t* weights, long rowCount, const std::int16_t* output) {
  File file(std::fopen(name, "wb"));
  if (!file) return false;
  const bool written =
      writeValues(file.get(), weights, rowCount * kHiddenUnits) && writeValues(file.get(), output, kOutputWeights);
  return closeWritten(std::move(file), written);
}

}  // namespace kaimo
