#include "support/kr/kr_map.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kNoMemoryTemplate = "メモリの確保(サイズ:%ldバイト)に失敗しました。";
constexpr const char* kBelowMinimumTemplate = "引数%s(%ld)が不法(< %ld)です。";
constexpr const char* kNullArgumentTemplate = "引数%sが無効(%s)です。";
constexpr const char* kBadObjectTemplate = "引数%sが無効なオブジェクトです。";
constexpr const char* kOutOfRangeTemplate = "変数%s(%ld)が有効な範囲(%ld～%ld)にありません。";

KrAllocFn allocator = std::malloc;

bool hasAllCallbacks(const MapHeader& map) {
  return map.hash != nullptr && map.match != nullptr && map.setLink != nullptr && map.getLink != nullptr &&
         map.freeLeaf != nullptr;
}

// The fast path trusts the hash; an index outside the buckets would read
// outside the array, so it is turned away without a report.
bool insideBuckets(const MapHeader& map, int index) {
  return static_cast<unsigned>(index) < static_cast<unsigned>(map.bucketCount);
}

void linkAtHead(MapHeader& map, int index, void* leaf) {
  map.setLink(leaf, map.buckets[index]);
  map.buckets[index] = leaf;
  ++map.count;
}

}  // namespace

KrAllocFn kr_setAllocator(KrAllocFn allocate) {
  const KrAllocFn previous = allocator;
  allocator = allocate != nullptr ? allocate : std::malloc;
  return previous;
}

MapHeader* kr_mapCreate(KrHashFn hash, KrMatchFn match, KrSetLinkFn setLink, KrGetLinkFn getLink, KrFreeFn freeLeaf,
                        int hashLength, int leafSize) {
  constexpr const char* kName = "kr_mapCreate";
  if (hash == nullptr || match == nullptr || setLink == nullptr || getLink == nullptr || freeLeaf == nullptr) {
    kr_reportStandardError(nullptr, kName, KR_INVALID_ARGUMENT);
    return nullptr;
  }
  if (hashLength <= 0) {
    kr_reportError(nullptr, kName, KR_ARGUMENT_OUT_OF_RANGE, kBelowMinimumTemplate, "hash_length",
                   static_cast<long>(hashLength), 1L);
    return nullptr;
  }
  if (leafSize <= 0) {
    kr_reportError(nullptr, kName, KR_ARGUMENT_OUT_OF_RANGE, kBelowMinimumTemplate, "leaf_size",
                   static_cast<long>(leafSize), 1L);
    return nullptr;
  }
  auto* map = static_cast<MapHeader*>(allocator(sizeof(MapHeader)));
  if (map == nullptr) {
    kr_reportError(nullptr, kName, KR_NO_MEMORY, kNoMemoryTemplate, static_cast<long>(sizeof(MapHeader)));
    return nullptr;
  }
  const std::size_t bucketBytes = static_cast<std::size_t>(hashLength) * sizeof(void*);
  auto** buckets = static_cast<void**>(allocator(bucketBytes));
  if (buckets == nullptr) {
    kr_reportError(nullptr, kName, KR_NO_MEMORY, kNoMemoryTemplate, static_cast<long>(bucketBytes));
    std::free(map);
    return nullptr;
  }
  for (int i = 0; i < hashLength; ++i) buckets[i] = nullptr;
  map->hash = hash;
  map->match = match;
  map->setLink = setLink;
  map->getLink = getLink;
  map->freeLeaf = freeLeaf;
  map->bucketCount = hashLength;
  map->leafSize = leafSize;
  map->buckets = buckets;
  map->error.code = KR_OK;
  map->error.message[0] = '\0';
  map->error.functionName[0] = '\0';
  map->count = 0;
  return map;
}

ErrorCode kr_mapValidate(const MapHeader* map, const char* functionName) {
  if (map == nullptr) {
    return kr_reportError(nullptr, functionName, KR_INVALID_ARGUMENT, kNullArgumentTemplate, "p_map", "NULL");
  }
  if (!hasAllCallbacks(*map) || map->bucketCount <= 0 || map->leafSize <= 0 || map->buckets == nullptr) {
    return kr_reportError(nullptr, functionName, KR_INVALID_OBJECT, kBadObjectTemplate, "p_map");
  }
  return KR_OK;
}

ErrorCode kr_mapDelete(MapHeader* map) {
  if (map == nullptr) return KR_OK;
  const ErrorCode check = kr_mapValidate(map, "kr_mapDelete");
  if (check != KR_OK) return check;
  const ErrorCode result = kr_mapDeleteAll(map);
  std::free(map->buckets);
  std::free(map);
  return result;
}

void* kr_mapLookup(MapHeader* map, const void* key) {
  constexpr const char* kName = "kr_mapLookup";
  if (kr_mapValidate(map, kName) != KR_OK) return nullptr;
  const int index = map->hash(key, map->bucketCount);
  if (!insideBuckets(*map, index)) {
    kr_reportError(&map->error, kName, KR_VARIABLE_OUT_OF_RANGE, kOutOfRangeTemplate, "hash", static_cast<long>(index),
                   0L, static_cast<long>(map->bucketCount) - 1);
    return nullptr;
  }
  void* leaf = allocator(static_cast<std::size_t>(map->leafSize));
  if (leaf == nullptr) {
    kr_reportError(&map->error, kName, KR_NO_MEMORY, kNoMemoryTemplate, static_cast<long>(map->leafSize));
    return nullptr;
  }
  linkAtHead(*map, index, leaf);
  return leaf;
}

void* kr_mapFind(MapHeader* map, const void* key, int insert, int* inserted) {
  if (inserted != nullptr) *inserted = 0;
  if (map == nullptr) return nullptr;
  const int index = map->hash(key, map->bucketCount);
  if (!insideBuckets(*map, index)) return nullptr;
  for (void* leaf = map->buckets[index]; leaf != nullptr; leaf = map->getLink(leaf)) {
    if (map->match(leaf, key) != 0) return leaf;
  }
  if (insert == 0) return nullptr;
  void* leaf = allocator(static_cast<std::size_t>(map->leafSize));
  if (leaf == nullptr) return nullptr;
  linkAtHead(*map, index, leaf);
  if (inserted != nullptr) *inserted = 1;
  return leaf;
}

ErrorCode kr_mapDeleteAll(MapHeader* map) {
  if (map != nullptr && map->count <= 0) return KR_OK;
  const ErrorCode check = kr_mapValidate(map, "kr_mapDeleteAll");
  if (check != KR_OK) return check;
  for (int i = 0; i < map->bucketCount; ++i) {
    void* leaf = map->buckets[i];
    while (leaf != nullptr) {
      void* next = map->getLink(leaf);
      map->freeLeaf(leaf);
      leaf = next;
    }
    map->buckets[i] = nullptr;
  }
  map->count = 0;
  return KR_OK;
}

ErrorCode kr_mapApplyAll(MapHeader* map, KrApplyFn apply) {
  constexpr const char* kName = "kr_mapApplyAll";
  const ErrorCode check = kr_mapValidate(map, kName);
  if (check != KR_OK) return check;
  if (apply == nullptr) {
    kr_reportStandardError(nullptr, kName, KR_INVALID_ARGUMENT);
    return KR_INVALID_ARGUMENT;
  }
  int status = 0;
  for (int i = 0; i < map->bucketCount; ++i) {
    for (void* leaf = map->buckets[i]; leaf != nullptr; leaf = map->getLink(leaf)) apply(leaf, &status);
  }
  return status;
}

int kr_mapCount(const MapHeader* map) { return map != nullptr ? map->count : 0; }
