#include "engine/eval/pattern_data.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <string>
#include <utility>

#include "support/kr/kr_error.h"

namespace kaimo {

PatternData::PatternData(std::filesystem::path folder, std::FILE* announce)
    : folder_(std::move(folder)), sums_(DataSums::of(folder_)) {
  failed_ = !readIndexTables();
  if (failed_) return;
  for (int p = 0; p < kPatternCount; ++p) firstRows_[p] = static_cast<unsigned>(layout_.offsets[p]);
  if (announce != nullptr) std::fprintf(announce, "jMax = %ld\n", layout_.rowCount);
}

bool PatternData::readIndexTables() {
  std::array<std::int32_t, kPatternCount> classCounts{};
  std::vector<std::string> checked;  // several patterns read one table
  for (int p = 0; p < kPatternCount; ++p) {
    const PatternDescriptor& d = kPatternDescriptors[p];
    if (!usesIndexTable(d)) continue;
    const std::string file = indexTableFileName(d);
    const std::string name = (folder_ / file).string();
    IndexTable table;
    LayoutStatus status = LayoutStatus::BadChecksum;
    if (std::find(checked.begin(), checked.end(), file) != checked.end() || sums_.matches(folder_, file)) {
      checked.push_back(file);
      status = readIndexTable(name.c_str(), indexTableLength(d), table);
    }
    if (status == LayoutStatus::NoMemory) {
      logError("ルーチン狐 : メモリ確保(%ldバイト)に失敗しました。\n", 2L * powerOfThree(indexTableLength(d)));
      return false;
    }
    if (status != LayoutStatus::Ok) {
      // Short tables and class numbers beyond the class count are refused
      // like a missing file (either would index outside the weight rows),
      // and logged as what they are.
      logError("ルーチン狐 : データファイル%s%s\n", name.c_str(), dataFileFault(status));
      return false;
    }
    classCounts[p] = table.classCount;
    // Only an edge's entries carry the mirrored flag: a line's class is then
    // its entry as it stands.
    if (d.kind == kKindLine) {
      for (std::uint16_t& entry : table.entries) entry &= kClassMask;
    }
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
  if (weights)
    weights->rows = allocateLargeArray<std::int16_t>(static_cast<std::size_t>(layout_.rowCount) * kHiddenUnits);
  if (!weights || !weights->rows) {
    logError("ルーチン狐: メモリ確保に失敗しました。\n");
    return nullptr;
  }
  const std::string name = (folder_ / stageFileName(stage)).string();
  const LayoutStatus status =
      sums_.matches(folder_, stageFileName(stage))
          ? readStageWeights(name.c_str(), layout_.rowCount, weights->rows.get(), weights->output.data())
          : LayoutStatus::BadChecksum;
  if (status != LayoutStatus::Ok) {
    // A short or damaged file fails like a missing one: either way the stage has no weights.
    logError("ルーチン狐: データファイル %s %s\n", name.c_str(), dataFileFault(status));
    return nullptr;
  }
  owned_[slot] = std::move(weights);
  stages_[slot].store(owned_[slot].get(), std::memory_order_release);
  return owned_[slot].get();
}

template <int I>
unsigned PatternData::placementRow(const PatternIndices& indices) const {
  constexpr pattern_slots::PlacementSlots kPlacement = pattern_slots::kSlotTables.placements[I];
  constexpr int kPattern = kPlacement.pattern;
  constexpr int kSlot = kPlacement.first;
  constexpr int kKind = kPatternDescriptors[kPattern].kind;
  const unsigned raw = indices.raw[kSlot];
  if constexpr (kKind == kKindLine) {
    return firstRows_[kPattern] + tablePointers_[kPattern][raw];
  } else if constexpr (kKind == kKindEdge) {
    // The class of the edge squares, then the corner area read from the end
    // the class representative starts at.
    const unsigned entry = tablePointers_[kPattern][raw];
    const unsigned corners = indices.raw[(entry & kMirroredFlag) != 0 ? kSlot + 2 : kSlot + 1];
    return firstRows_[kPattern] + (entry & kClassMask) * kCornerAreaConfigurations + corners;
  } else if constexpr (kKind == kKindCornerBlock) {
    return firstRows_[kPattern] + std::min(raw, static_cast<unsigned>(indices.raw[kSlot + 1]));
  } else {
    return firstRows_[kPattern] + raw;
  }
}

void PatternData::rowsOf(const PatternIndices& indices, std::array<int, kActiveRowCount>& rows) const {
  [&]<std::size_t... I>(std::index_sequence<I...>) { ((rows[I] = static_cast<int>(placementRow<I>(indices))), ...); }
  (std::make_index_sequence<kActiveRowCount>{});
}

std::array<int, kHiddenUnits> PatternData::rowSums(const PatternIndices& indices, const std::int16_t* weights) const {
  static_assert(kActiveRowCount % 2 == 0);
  RowSums sums(weights);
  [&]<std::size_t... P>(std::index_sequence<P...>) {
    (sums.addPair(placementRow<2 * P>(indices), placementRow<2 * P + 1>(indices)), ...);
  }
  (std::make_index_sequence<kActiveRowCount / 2>{});
  return sums.sums();
}

}  // namespace kaimo
