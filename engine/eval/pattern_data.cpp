#include "engine/eval/pattern_data.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

#include "support/kr/kr_error.h"

namespace kaimo {

PatternData::PatternData(std::filesystem::path folder, std::FILE* announce) : folder_(std::move(folder)) {
  failed_ = !readIndexTables();
  if (failed_) return;
  for (int i = 0; i < kActiveRowCount; ++i) {
    const pattern_slots::PlacementSlots& p = pattern_slots::kSlotTables.placements[i];
    placements_[i] = {tablePointers_[p.pattern], static_cast<int>(layout_.offsets[p.pattern]), p.first};
  }
  if (announce != nullptr) std::fprintf(announce, "jMax = %ld\n", layout_.rowCount);
}

bool PatternData::readIndexTables() {
  std::array<std::int32_t, kPatternCount> classCounts{};
  for (int p = 0; p < kPatternCount; ++p) {
    const PatternDescriptor& d = kPatternDescriptors[p];
    if (!usesIndexTable(d)) continue;
    const std::string name = (folder_ / indexTableFileName(d)).string();
    IndexTable table;
    const LayoutStatus status = readIndexTable(name.c_str(), indexTableLength(d), table);
    if (status == LayoutStatus::NoMemory) {
      logError("ルーチン狐 : メモリ確保(%ldバイト)に失敗しました。\n", 2L * powerOfThree(indexTableLength(d)));
      return false;
    }
    if (status != LayoutStatus::Ok) {
      // Short tables and class numbers beyond the class count are refused
      // like a missing file: either would index outside the weight rows.
      logError("ルーチン狐 : データファイル%sが開けません。\n", name.c_str());
      return false;
    }
    classCounts[p] = table.classCount;
    indexTables_[p] = std::move(table.entries);
    tablePointers_[p] = indexTables_[p].data();
  }
  layout_ = weightLayoutFor(classCounts);
  return true;
}

const StageWeights* PatternData::readStage(int stage) const {
  if (failed_) return nullptr;
  const int slot = stage - kFirstStageFile;
  const std::lock_guard lock(readLock_);
  // Another thread may have read it while this one waited.
  if (const StageWeights* weights = stages_[slot].load(std::memory_order_relaxed)) return weights;
  auto weights = std::unique_ptr<StageWeights>(new (std::nothrow) StageWeights);
  if (weights) weights->rows = allocateLargeArray<std::int16_t>(static_cast<std::size_t>(layout_.rowCount) * kHiddenUnits);
  if (!weights || !weights->rows) {
    logError("ルーチン狐: メモリ確保に失敗しました。\n");
    return nullptr;
  }
  const std::string name = (folder_ / stageFileName(stage)).string();
  if (readStageWeights(name.c_str(), layout_.rowCount, weights->rows.get(), weights->output.data()) !=
      LayoutStatus::Ok) {
    // A short file is logged like a missing one: either way the stage has no weights.
    logError("ルーチン狐: データファイル %s が開けません。\n", name.c_str());
    return nullptr;
  }
  owned_[slot] = std::move(weights);
  stages_[slot].store(owned_[slot].get(), std::memory_order_release);
  return owned_[slot].get();
}

namespace {

// The placements come pattern by pattern, and the patterns kind by kind:
// the lines, the edges, the full patterns, the corner blocks. Each kind's
// placements are a run of their own, read by a loop of their own.
constexpr int firstPlacementOf(int kind) {
  int placement = 0;
  for (const PatternDescriptor& d : kPatternDescriptors) {
    if (d.kind == kind) return placement;
    placement += d.instances;
  }
  return placement;
}

constexpr int kFirstEdge = firstPlacementOf(kKindEdge);
constexpr int kFirstFull = firstPlacementOf(kKindFull);
constexpr int kFirstCornerBlock = firstPlacementOf(kKindCornerBlock);

constexpr int endOfRun(int kind) {
  return kind == kKindLine ? kFirstEdge : kind == kKindEdge ? kFirstFull : kind == kKindFull ? kFirstCornerBlock
                                                                                              : kActiveRowCount;
}

constexpr bool kindsInRuns() {
  int placement = 0;
  for (const PatternDescriptor& d : kPatternDescriptors) {
    if (placement < firstPlacementOf(d.kind) || placement + d.instances > endOfRun(d.kind)) return false;
    placement += d.instances;
  }
  return true;
}
static_assert(kindsInRuns());

}  // namespace

void PatternData::rowsOf(const PatternIndices& indices, std::array<int, kActiveRowCount>& rows) const {
  const auto raw = [&](int slot) { return static_cast<int>(indices.raw[slot]); };
  for (int i = 0; i < kFirstEdge; ++i) {
    const PlacementRow& p = placements_[i];
    rows[i] = p.offset + (p.table[raw(p.firstSlot)] & kClassMask);
  }
  for (int i = kFirstEdge; i < kFirstFull; ++i) {
    // The class of the edge squares, then the corner area read from the end
    // the class representative starts at.
    const PlacementRow& p = placements_[i];
    const std::uint16_t entry = p.table[raw(p.firstSlot)];
    const int corners = raw(p.firstSlot + ((entry & kMirroredFlag) != 0 ? 2 : 1));
    rows[i] = p.offset + (entry & kClassMask) * kCornerAreaConfigurations + corners;
  }
  for (int i = kFirstFull; i < kFirstCornerBlock; ++i) rows[i] = placements_[i].offset + raw(placements_[i].firstSlot);
  for (int i = kFirstCornerBlock; i < kActiveRowCount; ++i) {
    const PlacementRow& p = placements_[i];
    rows[i] = p.offset + std::min(raw(p.firstSlot), raw(p.firstSlot + 1));
  }
}

}  // namespace kaimo
