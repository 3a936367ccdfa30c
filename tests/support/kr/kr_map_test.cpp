#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/kr/kr_map.h"
#include "tests/common/temp_dir.h"

namespace {

// A leaf of the test maps: a key and the chain link.
struct Leaf {
  int key;
  Leaf* next;
};

constexpr int kBuckets = 7;
int hashModulo(const void* key, int bucketCount) { return *static_cast<const int*>(key) % bucketCount; }
int hashOutOfRange(const void*, int bucketCount) { return bucketCount; }
int hashNegative(const void*, int) { return -3; }
int matchKey(const void* leaf, const void* key) {
  return static_cast<const Leaf*>(leaf)->key == *static_cast<const int*>(key);
}
void setLink(void* leaf, void* next) { static_cast<Leaf*>(leaf)->next = static_cast<Leaf*>(next); }
void* getLink(const void* leaf) { return static_cast<const Leaf*>(leaf)->next; }
int freed = 0;
void freeLeaf(void* leaf) {
  ++freed;
  std::free(leaf);
}

// Allocations fail from the n-th on (counting from 0); -1 never.
int failFrom = -1;
int allocations = 0;
void* failingAllocator(std::size_t bytes) {
  if (failFrom >= 0 && allocations++ >= failFrom) return nullptr;
  return std::malloc(bytes);
}

class KrMap : public kaimo::testing::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    freed = 0;
    failFrom = -1;
    allocations = 0;
  }
  void TearDown() override {
    kr_setAllocator(nullptr);
    InTempDir::TearDown();
  }

  static MapHeader* newMap(KrHashFn hash = hashModulo) {
    return kr_mapCreate(hash, matchKey, setLink, getLink, freeLeaf, kBuckets, sizeof(Leaf));
  }

  static Leaf* add(MapHeader* map, int key) {
    auto* leaf = static_cast<Leaf*>(kr_mapLookup(map, &key));
    if (leaf != nullptr) leaf->key = key;
    return leaf;
  }

  static std::string log0() { return readFile("krerror_0.log"); }
};

TEST_F(KrMap, CreateRefusesBadSizesWithOneLogLineEach) {
  EXPECT_EQ(kr_mapCreate(hashModulo, matchKey, setLink, getLink, freeLeaf, 0, sizeof(Leaf)), nullptr);
  EXPECT_EQ(log0(), "(01,0004) kr_mapCreate: 引数hash_length(0)が不法(< 1)です。\n");
  EXPECT_EQ(kr_mapCreate(hashModulo, matchKey, setLink, getLink, freeLeaf, 7, -5), nullptr);
  EXPECT_EQ(log0(),
            "(01,0004) kr_mapCreate: 引数hash_length(0)が不法(< 1)です。\n"
            "(01,0004) kr_mapCreate: 引数leaf_size(-5)が不法(< 1)です。\n");
}

TEST_F(KrMap, CreateRefusesAMissingCallbackWithTheStandardMessage) {
  EXPECT_EQ(kr_mapCreate(hashModulo, matchKey, nullptr, getLink, freeLeaf, 7, sizeof(Leaf)), nullptr);
  EXPECT_EQ(log0(), "(01,0002) kr_mapCreate: 引数が無効です。\n");
}

TEST_F(KrMap, CreateReportsTheBytesItCouldNotGet) {
  kr_setAllocator(failingAllocator);
  failFrom = 0;
  EXPECT_EQ(newMap(), nullptr);
  failFrom = 1;
  allocations = 0;
  EXPECT_EQ(newMap(), nullptr);  // the header came, the buckets did not
  EXPECT_EQ(log0(), "(00,0001) kr_mapCreate: メモリの確保(サイズ:" + std::to_string(sizeof(MapHeader)) +
                        "バイト)に失敗しました。\n(00,0001) kr_mapCreate: メモリの確保(サイズ:" +
                        std::to_string(7 * sizeof(void*)) + "バイト)に失敗しました。\n");
}

TEST_F(KrMap, ValidatingOperationsReportANullMap) {
  int key = 1;
  EXPECT_EQ(kr_mapLookup(nullptr, &key), nullptr);
  EXPECT_EQ(kr_mapApplyAll(nullptr, [](void*, int*) {}), KR_INVALID_ARGUMENT);
  EXPECT_EQ(kr_mapDeleteAll(nullptr), KR_INVALID_ARGUMENT);
  EXPECT_EQ(log0(),
            "(01,0002) kr_mapLookup: 引数p_mapが無効(NULL)です。\n"
            "(01,0002) kr_mapApplyAll: 引数p_mapが無効(NULL)です。\n"
            "(01,0002) kr_mapDeleteAll: 引数p_mapが無効(NULL)です。\n");
  EXPECT_EQ(kr_mapCount(nullptr), 0);
}

TEST_F(KrMap, DamagedMapIsRefusedAndLeftAlone) {
  MapHeader* map = newMap();
  add(map, 3);
  const KrMatchFn match = map->match;
  map->match = nullptr;
  int key = 3;
  EXPECT_EQ(kr_mapLookup(map, &key), nullptr);
  EXPECT_EQ(kr_mapDelete(map), KR_INVALID_OBJECT);
  EXPECT_EQ(log0(),
            "(01,0003) kr_mapLookup: 引数p_mapが無効なオブジェクトです。\n"
            "(01,0003) kr_mapDelete: 引数p_mapが無効なオブジェクトです。\n");
  EXPECT_EQ(map->error.code, KR_OK);  // validation never touches the record
  EXPECT_EQ(kr_mapCount(map), 1);
  map->match = match;
  EXPECT_EQ(kr_mapDelete(map), KR_OK);
  EXPECT_EQ(freed, 1);
}

TEST_F(KrMap, HashOutsideTheBucketsIsReportedIntoTheMapsRecord) {
  MapHeader* map = newMap(hashOutOfRange);
  int key = 1;
  EXPECT_EQ(kr_mapLookup(map, &key), nullptr);
  const std::string message = "変数hash(7)が有効な範囲(0～6)にありません。";
  EXPECT_EQ(log0(), "(01,0005) kr_mapLookup: " + message + "\n");
  EXPECT_EQ(map->error.code, KR_VARIABLE_OUT_OF_RANGE);
  EXPECT_EQ(map->error.message, message);
  EXPECT_STREQ(map->error.functionName, "kr_mapLookup");
  EXPECT_EQ(kr_mapCount(map), 0);
  int inserted = -1;
  EXPECT_EQ(kr_mapFind(map, &key, 1, &inserted), nullptr);  // the fast path turns it away silently
  EXPECT_EQ(inserted, 0);
  map->hash = hashNegative;
  EXPECT_EQ(kr_mapFind(map, &key, 1, &inserted), nullptr);
  EXPECT_EQ(kr_mapDelete(map), KR_OK);
  EXPECT_EQ(log0(), "(01,0005) kr_mapLookup: " + message + "\n");
}

TEST_F(KrMap, LeafMemoryFailureIsReportedByLookupButNotByFind) {
  MapHeader* map = newMap();
  kr_setAllocator(failingAllocator);
  failFrom = 0;
  int key = 4;
  EXPECT_EQ(kr_mapLookup(map, &key), nullptr);
  const std::string message = "メモリの確保(サイズ:" + std::to_string(sizeof(Leaf)) + "バイト)に失敗しました。";
  EXPECT_EQ(log0(), "(00,0001) kr_mapLookup: " + message + "\n");
  EXPECT_EQ(map->error.code, KR_NO_MEMORY);
  EXPECT_EQ(map->error.message, message);
  int inserted = -1;
  EXPECT_EQ(kr_mapFind(map, &key, 1, &inserted), nullptr);
  EXPECT_EQ(inserted, 0);
  EXPECT_EQ(log0(), "(00,0001) kr_mapLookup: " + message + "\n");
  EXPECT_EQ(kr_mapCount(map), 0);
  kr_mapDelete(map);
}

TEST_F(KrMap, LookupAlwaysCreatesAndFindReturnsTheNewest) {
  MapHeader* map = newMap();
  Leaf* older = add(map, 9);
  Leaf* newer = add(map, 9);
  ASSERT_NE(older, newer);
  EXPECT_EQ(newer->next, older);  // same bucket, newest at the head
  int key = 9;
  EXPECT_EQ(kr_mapFind(map, &key, 0, nullptr), newer);
  key = 16;  // same bucket as 9, not there
  EXPECT_EQ(kr_mapFind(map, &key, 0, nullptr), nullptr);
  int inserted = 0;
  auto* created = static_cast<Leaf*>(kr_mapFind(map, &key, 1, &inserted));
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(inserted, 1);
  created->key = 16;
  EXPECT_EQ(kr_mapFind(map, &key, 1, &inserted), created);
  EXPECT_EQ(inserted, 0);
  EXPECT_EQ(kr_mapCount(map), 3);
  EXPECT_EQ(kr_mapDelete(map), KR_OK);
  EXPECT_EQ(freed, 3);
  EXPECT_FALSE(std::filesystem::exists("krerror_0.log"));
}

TEST_F(KrMap, DeleteAllEmptiesTheMapAndSkipsChecksWhenEmpty) {
  MapHeader* map = newMap();
  for (int key = 0; key < 20; ++key) add(map, key);
  EXPECT_EQ(kr_mapDeleteAll(map), KR_OK);
  EXPECT_EQ(freed, 20);
  EXPECT_EQ(kr_mapCount(map), 0);
  for (int key = 0; key < 20; ++key) EXPECT_EQ(kr_mapFind(map, &key, 0, nullptr), nullptr);
  void** buckets = map->buckets;
  map->buckets = nullptr;  // damaged, but empty: no check is made
  EXPECT_EQ(kr_mapDeleteAll(map), KR_OK);
  map->buckets = buckets;
  EXPECT_EQ(kr_mapDelete(nullptr), KR_OK);
  EXPECT_FALSE(std::filesystem::exists("krerror_0.log"));
  kr_mapDelete(map);
}

std::vector<int> visited;
void recordVisit(void* leaf, int* status) {
  visited.push_back(static_cast<Leaf*>(leaf)->key);
  if (static_cast<Leaf*>(leaf)->key == 15) *status = 42;
}

TEST_F(KrMap, ApplyAllVisitsBucketByBucketNewestFirst) {
  MapHeader* map = newMap();
  for (int key : {1, 8, 15, 3, 10, 6}) add(map, key);  // buckets 1, 1, 1, 3, 3, 6
  visited.clear();
  EXPECT_EQ(kr_mapApplyAll(map, recordVisit), 42);
  EXPECT_EQ(visited, (std::vector<int>{15, 8, 1, 10, 3, 6}));
  EXPECT_EQ(kr_mapApplyAll(map, nullptr), KR_INVALID_ARGUMENT);
  EXPECT_EQ(log0(), "(01,0002) kr_mapApplyAll: 引数が無効です。\n");
  kr_mapDelete(map);
}

}  // namespace
