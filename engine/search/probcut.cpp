#include "engine/search/probcut.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>
#include <type_traits>

#include "engine/eval/score.h"
#include "support/files/checksum.h"
#include "support/files/input_file.h"
#include "support/kr/kr_error.h"
#include "support/paths/program_paths.h"

namespace kaimo {
namespace {

constexpr char kMagic[4] = {'K', 'M', 'P', 'C'};
constexpr double kSlopeUnit = 10000;
constexpr std::int32_t kMaxSlope = 100000;  // 10: a line that steep predicts nothing
constexpr std::int32_t kMaxScoreField = SCORE_WIPEOUT;
// A whole file of the largest shape: a bound on what is read.
constexpr std::size_t kMaxFileBytes =
    ProbCutTable::kHeaderBytes +
    std::size_t{ProbCutTable::kEntryBytes} * ProbCutTable::kMaxStages * ProbCutTable::kMaxDepth +
    ProbCutTable::kChecksumBytes;

void appendWord(std::string& bytes, std::int32_t word) {
  auto value = static_cast<std::uint32_t>(word);
  for (int i = 0; i < 4; ++i, value >>= 8) bytes.push_back(static_cast<char>(value & 0xff));
}

template <typename T = std::int32_t>
T wordAt(const std::string& bytes, std::size_t offset) {
  std::make_unsigned_t<T> value = 0;
  for (int i = sizeof(T) - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return static_cast<T>(value);
}

std::int32_t rounded(double value) { return static_cast<std::int32_t>(std::lround(value)); }

bool within(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

// "stage 3, depth 7: slope 0" for the fault text.
std::string entryName(int stage, int depth) {
  return "stage " + std::to_string(stage) + ", depth " + std::to_string(depth);
}

bool readEntry(const std::string& bytes, std::size_t offset, int depth, ProbCutPair& pair) {
  const std::int32_t shallow = wordAt(bytes, offset);
  const std::int32_t slope = wordAt(bytes, offset + 4);
  const std::int32_t intercept = wordAt(bytes, offset + 8);
  const std::int32_t deviation = wordAt(bytes, offset + 12);
  if (!within(shallow, 0, depth - 1) || !within(slope, 1, kMaxSlope) ||
      !within(intercept, -kMaxScoreField, kMaxScoreField) || !within(deviation, 1, kMaxScoreField)) {
    return false;
  }
  pair = {shallow, slope / kSlopeUnit, static_cast<double>(intercept), static_cast<double>(deviation)};
  return true;
}

}  // namespace

ProbCutTable::ProbCutTable(int stageCount, int emptiesPerStage, int firstDepth, int lastDepth)
    : stageCount_(stageCount),
      emptiesPerStage_(emptiesPerStage),
      firstDepth_(firstDepth),
      lastDepth_(lastDepth),
      pairs_(static_cast<std::size_t>(stageCount) * (lastDepth - firstDepth + 1)) {
  for (int stage = 0; stage < stageCount_; ++stage) {
    for (int depth = firstDepth_; depth <= lastDepth_; ++depth) at(stage, depth) = {depth - 1, 1, 0, 1};
  }
}

int ProbCutTable::stageOf(int empties) const { return std::clamp(empties / emptiesPerStage_, 0, stageCount_ - 1); }

std::string probCutFileBytes(const ProbCutTable& table) {
  std::string bytes(kMagic, sizeof kMagic);
  for (int word :
       {ProbCutTable::kVersion, table.stageCount(), table.emptiesPerStage(), table.firstDepth(), table.lastDepth()}) {
    appendWord(bytes, word);
  }
  for (int stage = 0; stage < table.stageCount(); ++stage) {
    for (int depth = table.firstDepth(); depth <= table.lastDepth(); ++depth) {
      const ProbCutPair& pair = table.at(stage, depth);
      appendWord(bytes, pair.shallow);
      appendWord(bytes, std::clamp(rounded(pair.slope * kSlopeUnit), 1, kMaxSlope));
      appendWord(bytes, std::clamp(rounded(pair.intercept), -kMaxScoreField, kMaxScoreField));
      appendWord(bytes, std::clamp(rounded(pair.deviation), 1, kMaxScoreField));
    }
  }
  const std::uint64_t sum = checksumOf(bytes);
  for (int i = 0; i < ProbCutTable::kChecksumBytes; ++i) bytes.push_back(static_cast<char>((sum >> (8 * i)) & 0xff));
  return bytes;
}

std::unique_ptr<ProbCutTable> parseProbCutFile(const std::string& bytes, std::string& fault) {
  if (bytes.size() < ProbCutTable::kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    fault = "not a ProbCut table";
    return nullptr;
  }
  const std::int32_t version = wordAt(bytes, 4);
  const std::int32_t stages = wordAt(bytes, 8);
  const std::int32_t width = wordAt(bytes, 12);
  const std::int32_t first = wordAt(bytes, 16);
  const std::int32_t last = wordAt(bytes, 20);
  if (version != ProbCutTable::kVersion) {
    fault = "format version " + std::to_string(version) + ", not " + std::to_string(ProbCutTable::kVersion);
    return nullptr;
  }
  if (!within(stages, 1, ProbCutTable::kMaxStages) || !within(width, 1, ProbCutTable::kMaxStages) ||
      !within(first, 1, ProbCutTable::kMaxDepth) || !within(last, first, ProbCutTable::kMaxDepth)) {
    fault = "a header of stages or depths out of range";
    return nullptr;
  }
  const std::size_t entriesEnd =
      ProbCutTable::kHeaderBytes + std::size_t{ProbCutTable::kEntryBytes} * stages * (last - first + 1);
  const std::size_t expected = entriesEnd + ProbCutTable::kChecksumBytes;
  if (bytes.size() != expected) {
    fault = std::to_string(bytes.size()) + " bytes where the header asks for " + std::to_string(expected);
    return nullptr;
  }
  if (checksumOf(std::string_view(bytes).substr(0, entriesEnd)) != wordAt<std::uint64_t>(bytes, entriesEnd)) {
    fault = "the checksum does not match the table";
    return nullptr;
  }
  auto table = std::make_unique<ProbCutTable>(stages, width, first, last);
  std::size_t offset = ProbCutTable::kHeaderBytes;
  for (int stage = 0; stage < stages; ++stage) {
    for (int depth = first; depth <= last; ++depth, offset += ProbCutTable::kEntryBytes) {
      if (!readEntry(bytes, offset, depth, table->at(stage, depth))) {
        fault = "an entry out of range at " + entryName(stage, depth);
        return nullptr;
      }
    }
  }
  return table;
}

namespace {

std::shared_ptr<const ProbCutTable> readProbCutTable(const std::filesystem::path& folder) {
  const std::string name = (folder / ProbCutTable::kFileName).string();
  std::string bytes;
  const InputFileResult read = readInputFile(name, kMaxFileBytes, bytes);
  if (!read.ok()) {
    logError("ProbCut: データファイル%sが開けません（%s）。ProbCutを使わずに読みます。\n", name.c_str(),
             describeInputFileResult(name, read, kMaxFileBytes).c_str());
    return nullptr;
  }
  std::string fault;
  std::unique_ptr<ProbCutTable> table = parseProbCutFile(bytes, fault);
  if (!table) {
    logError("ProbCut: データファイル%sが壊れています（%s）。ProbCutを使わずに読みます。\n", name.c_str(),
             fault.c_str());
    return nullptr;
  }
  return table;
}

}  // namespace

std::shared_ptr<const ProbCutTable> probCutTableIn(const std::filesystem::path& folder) {
  // Never destroyed, like the pattern data: a search still running at exit
  // finds its table in place.
  static auto* const lock = new std::mutex;
  static auto* const byFolder = new std::map<std::filesystem::path, std::shared_ptr<const ProbCutTable>>;
  const std::lock_guard hold(*lock);
  const auto [slot, added] = byFolder->try_emplace(paths::folderKey(folder));
  if (added) slot->second = readProbCutTable(folder);
  return slot->second;
}

ProbCut probCutOf(const ProbCutTable* table, int cutValue, int maxDepth, int aboveEmpties) {
  if (table == nullptr) return {};
  return {table, std::clamp(cutValue, 0, kMaxCutValue) / 1000.0, std::clamp(maxDepth, 0, ProbCutTable::kMaxDepth),
          std::clamp(aboveEmpties, 0, ProbCutTable::kMaxDepth)};
}

ProbCutBounds probCutBounds(const ProbCutPair& pair, double confidence, int alpha, int beta) {
  const double margin = confidence * pair.deviation;
  const double high = std::ceil((beta + margin - pair.intercept) / pair.slope);
  const double low = std::floor((alpha - margin - pair.intercept) / pair.slope);
  // A shallow value lies within ±SCORE_WIPEOUT: a bound beyond it cannot be met.
  return {high > SCORE_WIPEOUT ? SCORE_INF : static_cast<int>(std::max<double>(high, -SCORE_WIPEOUT)),
          low < -SCORE_WIPEOUT ? -SCORE_INF : static_cast<int>(std::min<double>(low, SCORE_WIPEOUT))};
}

}  // namespace kaimo
