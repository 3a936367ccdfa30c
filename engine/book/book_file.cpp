#include "engine/book/book_file.h"

#include <algorithm>

#include "support/files/checksum.h"
#include "support/files/input_file.h"

namespace kaimo {
namespace {

constexpr char kMagic[4] = {'K', 'B', 'O', 'K'};
constexpr int kMaskBytes = 13;

template <typename T>
void putLittle(std::string& out, T value, int bytes = sizeof(T)) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(static_cast<std::uint8_t>(value >> (8 * i))));
}

template <typename T>
T getLittle(const char* in, int bytes = sizeof(T)) {
  T value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<T>(static_cast<std::uint8_t>(in[i])) << (8 * i);
  return value;
}

void putRecord(std::string& out, const BookEntry& e) {
  putLittle(out, e.key.mover, kMaskBytes);
  putLittle(out, e.key.opponent, kMaskBytes);
  putLittle(out, static_cast<std::uint16_t>(e.value));
  putLittle(out, static_cast<std::uint16_t>(e.gameValue));
  putLittle(out, static_cast<std::uint16_t>(e.readValue));
  putLittle(out, e.readDepth);
  out.push_back(0);
}

bool withinValues(int value) { return value >= -kBookValueLimit && value <= kBookValueLimit; }

// The record's entry, or an empty text naming what makes it no position.
std::string getRecord(const char* in, BookEntry& e) {
  e.key.mover = getLittle<Bits>(in, kMaskBytes);
  e.key.opponent = getLittle<Bits>(in + kMaskBytes, kMaskBytes);
  e.value = static_cast<std::int16_t>(getLittle<std::uint16_t>(in + 26));
  e.gameValue = static_cast<std::int16_t>(getLittle<std::uint16_t>(in + 28));
  e.readValue = static_cast<std::int16_t>(getLittle<std::uint16_t>(in + 30));
  e.readDepth = static_cast<std::uint8_t>(in[32]);
  if (((e.key.mover | e.key.opponent) & ~kAllSquares) != 0 || (e.key.mover & e.key.opponent) != 0) {
    return "a record is no position (overlapping discs, or discs beyond square 99)";
  }
  if (in[33] != 0 || e.readDepth == 0 || !withinValues(e.value) || !withinValues(e.gameValue) ||
      !withinValues(e.readValue)) {
    return "a record has a value beyond a wipe-out, no read depth or a reserved byte set";
  }
  if (!(canonicalKey(e.key.mover, e.key.opponent) == e.key))
    return "a record's key is not the smallest of its eight images";
  return {};
}

}  // namespace

std::string encodeBook(const std::vector<BookEntry>& entries) {
  std::string records;
  records.reserve(entries.size() * kBookRecordBytes);
  for (const BookEntry& e : entries) putRecord(records, e);
  std::string out(kMagic, sizeof kMagic);
  putLittle(out, kBookFormatVersion);
  putLittle(out, static_cast<std::uint64_t>(entries.size()));
  putLittle(out, checksumOf(records));
  return out + records;
}

bool decodeBook(std::string_view bytes, std::vector<BookEntry>& entries, std::string& fault) {
  entries.clear();
  if (bytes.size() < kBookHeaderBytes || !std::equal(kMagic, kMagic + sizeof kMagic, bytes.begin())) {
    fault = "not an opening book (no KBOK header)";
    return false;
  }
  const auto version = getLittle<std::uint32_t>(bytes.data() + 4);
  if (version != kBookFormatVersion) {
    fault = "format version " + std::to_string(version) + ", not " + std::to_string(kBookFormatVersion);
    return false;
  }
  const auto count = getLittle<std::uint64_t>(bytes.data() + 8);
  const std::string_view records = bytes.substr(kBookHeaderBytes);
  if (count > kBookMaxBytes / kBookRecordBytes || records.size() != count * kBookRecordBytes) {
    fault = std::to_string(bytes.size()) + " bytes do not hold the " + std::to_string(count) +
            " positions the header counts";
    return false;
  }
  if (checksumOf(records) != getLittle<std::uint64_t>(bytes.data() + 16)) {
    fault = "the checksum does not match the records";
    return false;
  }
  entries.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    fault = getRecord(records.data() + i * kBookRecordBytes, entries[i]);
    if (fault.empty() && i > 0 && !(entries[i - 1].key < entries[i].key))
      fault = "the keys are not in increasing order";
    if (!fault.empty()) {
      fault += " (record " + std::to_string(i) + ")";
      entries.clear();
      return false;
    }
  }
  return true;
}

bool readBookFile(const std::string& path, std::vector<BookEntry>& entries, std::string& fault) {
  std::string bytes;
  const InputFileResult result = readInputFile(path, kBookMaxBytes + kBookHeaderBytes, bytes);
  if (!result.ok()) {
    entries.clear();
    fault = describeInputFileResult(path, result, kBookMaxBytes + kBookHeaderBytes);
    return false;
  }
  if (!decodeBook(bytes, entries, fault)) {
    fault = path + ": " + fault;
    return false;
  }
  return true;
}

}  // namespace kaimo
