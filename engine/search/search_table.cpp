// The one transposition table of the process: created on first use, emptied
// for every search, deleted at exit.
#include <cstdlib>

#include "engine/search/search_driver.h"

namespace kaimo {
namespace {

MapHeader* table = nullptr;
bool releaseRegistered = false;

}  // namespace

MapHeader* acquireTable() {
  if (!releaseRegistered) {
    releaseRegistered = true;
    std::atexit(releaseTable);
  }
  if (table != nullptr) {
    kr_mapDeleteAll(table);
    return table;
  }
  table = kr_mapCreate(tableHash, tableMatch, tableSetLink, tableGetLink, tableFree, kTableBuckets,
                       static_cast<int>(sizeof(TableEntry)));
  return table;
}

void releaseTable() {
  if (table == nullptr) return;
  kr_mapDelete(table);
  table = nullptr;
}

void resetEntry(void* leaf, int* /*status*/) {
  auto* entry = static_cast<TableEntry*>(leaf);
  entry->lower = -SCORE_INF;
  entry->upper = SCORE_INF;
  entry->resume = 0;
  for (auto& word : entry->tried) word = 0;
}

}  // namespace kaimo
