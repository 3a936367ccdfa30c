// A hash map with separate chaining that knows nothing of its leaves: the
// user supplies the hash, the key match, the chain link accessors and the way
// a leaf is freed. The map allocates leaves of `leafSize` bytes itself.
#pragma once

#include <cstddef>

#include "support/kr/kr_error.h"

using KrHashFn = int (*)(const void* key, int bucketCount);    // 0 <= result < bucketCount
using KrMatchFn = int (*)(const void* leaf, const void* key);  // non-zero: the leaf holds the key
using KrSetLinkFn = void (*)(void* leaf, void* next);
using KrGetLinkFn = void* (*)(const void* leaf);
using KrFreeFn = void (*)(void* leaf);
using KrApplyFn = void (*)(void* leaf, int* status);
using KrAllocFn = void* (*)(std::size_t bytes);

struct MapHeader {
  KrHashFn hash;
  KrMatchFn match;
  KrSetLinkFn setLink;
  KrGetLinkFn getLink;
  KrFreeFn freeLeaf;
  int bucketCount;
  int leafSize;
  void** buckets;
  ErrorRecord error;  // the last error reported against this map
  int count;
};

MapHeader* kr_mapCreate(KrHashFn hash, KrMatchFn match, KrSetLinkFn setLink, KrGetLinkFn getLink, KrFreeFn freeLeaf,
                        int hashLength, int leafSize);
ErrorCode kr_mapDelete(MapHeader* map);
// Despite its name, inserts: creates a leaf at the head of the key's bucket
// without searching it (kr_mapFind looks up); null on failure.
void* kr_mapLookup(MapHeader* map, const void* key);
// The newest leaf matching the key; with `insert`, a new leaf when none
// matches (*inserted = 1). The fast path: no checks, no reports.
void* kr_mapFind(MapHeader* map, const void* key, int insert, int* inserted);
ErrorCode kr_mapDeleteAll(MapHeader* map);
// Calls `apply` on every leaf, bucket by bucket, newest first; returns the status word.
ErrorCode kr_mapApplyAll(MapHeader* map, KrApplyFn apply);
int kr_mapCount(const MapHeader* map);
ErrorCode kr_mapValidate(const MapHeader* map, const char* functionName);

// Replaces the allocator of headers, buckets and leaves (null: malloc) and
// returns the previous one, so tests can make an allocation fail. Leaves are
// still released with the map's free callback, headers and buckets with free.
KrAllocFn kr_setAllocator(KrAllocFn allocate);
