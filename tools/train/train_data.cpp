#include "tools/train/train_data.h"

#include <set>

namespace kaimo::train {

std::vector<TableFile> indexTableFiles() {
  std::vector<TableFile> files;
  std::set<std::string> seen;
  for (const PatternDescriptor& d : kPatternDescriptors) {
    if (!usesIndexTable(d)) continue;
    const std::string name = indexTableFileName(d);
    if (!seen.insert(name).second) continue;
    files.push_back({name, buildLineClasses(indexTableLength(d), d.kind == kKindEdge)});
  }
  return files;
}

const InputSpace& inputSpace() {
  static const InputSpace space = [] {
    InputSpace s;
    std::array<std::int32_t, kPatternCount> classCounts{};
    for (int p = 0; p < kPatternCount; ++p) {
      const PatternDescriptor& d = kPatternDescriptors[p];
      if (!usesIndexTable(d)) continue;
      s.tables[p] = buildLineClasses(indexTableLength(d), d.kind == kKindEdge);
      s.pointers[p] = s.tables[p].entries.data();
      classCounts[p] = s.tables[p].classCount;
    }
    s.layout = weightLayoutFor(classCounts);
    return s;
  }();
  return space;
}

}  // namespace kaimo::train
