// The data files of "狐" and the arithmetic that defines them, shared by the
// evaluator and the trainer so both read and write one format.
//
// Pattern index table "fgtb%02d%d.kmx": 48 header bytes with the int32 class
// count K at offset 20, then 3^L uint16 entries, entry i for the raw base-3
// index i of a line of L squares. The low 15 bits are the class; in edge
// tables the top bit says the class representative is the reversed edge.
//
// Stage weight file "kaimogr%02d.dat": jMax rows of four int16 (row w, hidden
// unit h at byte 8w + 2h), then the five int16 output weights.
//
// All numbers are little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/eval/pattern_shapes.h"

namespace kaimo {

constexpr long kClassCountOffset = 20;
constexpr long kIndexEntriesOffset = 48;
constexpr std::uint16_t kMirroredFlag = 0x8000;
constexpr std::uint16_t kClassMask = 0x7fff;
// Class numbers have 15 bits; a larger count would only name rows no entry
// can reach (and could overflow the row count).
constexpr std::int32_t kMaxClassCount = kClassMask + 1;

constexpr int kFeatureCount = 6;                  // numeric inputs, weight rows 0..5
constexpr int kHiddenUnits = 4;                   // int16 weights per row
constexpr int kOutputWeights = kHiddenUnits + 1;  // one per hidden unit, then the bias
constexpr int kCornerAreaConfigurations = 81;     // 3^4 digits of an edge's corners and inner corners

// The stage of a position: four empty squares per stage, counted from 96.
constexpr int kStageBaseEmpties = 96;
constexpr int kEmptiesPerStage = 4;
constexpr int stageOfEmpties(int empties) {
  const int stage = (kStageBaseEmpties - empties) / kEmptiesPerStage;
  return stage < 0 ? 0 : stage;
}

constexpr int powerOfThree(int n) {
  int p = 1;
  while (n-- > 0) p *= 3;
  return p;
}

std::string indexTableFileName(int length, int digit);
std::string indexTableFileName(const PatternDescriptor& d);
std::string stageFileName(int stage);

// --- lines ----------------------------------------------------------------

// Base 3, the first digit most significant.
int lineIndex(const int* digits, int length);
// The raw index of the same line read from its other end.
int reversedLineIndex(int raw, int length);

struct IndexTable {
  std::int32_t classCount = 0;
  std::vector<std::uint16_t> entries;  // 3^length
};

// The classes of lines of `length` squares under reversal: a line and its
// reverse share a class, numbered densely in increasing order of the smaller
// raw index of the pair. With `markMirrored` (the edge tables) an entry whose
// reverse has the smaller raw index carries kMirroredFlag.
IndexTable buildLineClasses(int length, bool markMirrored);

// --- weight rows ------------------------------------------------------------

// Rows 0..5 belong to the features; each pattern owns a run of rows after
// them, in pattern order.
struct WeightLayout {
  std::array<long, kPatternCount> offsets{};
  long rowCount = 0;  // jMax
};

// Rows of one pattern, given the class count of its index table (unused for
// patterns without a table).
long patternRowCount(const PatternDescriptor& d, std::int32_t classCount);
WeightLayout weightLayoutFor(const std::array<std::int32_t, kPatternCount>& classCounts);

constexpr long stageFileBytes(long rowCount) { return rowCount * kHiddenUnits * 2 + kOutputWeights * 2; }

// --- files ------------------------------------------------------------------

enum class LayoutStatus {
  Ok,
  CannotOpen,
  TooShort,    // nothing was stored
  BadClasses,  // class count outside 1..32768 or an entry's class >= the count
  NoMemory,
  ReadFailed,   // the destination holds part of the file
  BadChecksum,  // not the bytes the folder's checksum list names (data_sums.h)
};

// What is wrong with a data file, as the error log says it after the file's
// name: "が開けません。" only for a file that cannot be opened; a file cut
// short or with classes beyond its class count is named as such.
const char* dataFileFault(LayoutStatus status);

// Reads and checks a whole index table of `length` squares.
LayoutStatus readIndexTable(const char* name, int length, IndexTable& table);
bool writeIndexTable(const char* name, const IndexTable& table);

// Reads rowCount rows into `weights` (rowCount * 4 values) and the output
// weights into `output` (5 values). A file shorter than the layout needs is
// refused before anything is stored; longer files are read up to the layout.
LayoutStatus readStageWeights(const char* name, long rowCount, std::int16_t* weights, std::int16_t* output);
bool writeStageWeights(const char* name, const std::int16_t* weights, long rowCount, const std::int16_t* output);

}  // namespace kaimo
