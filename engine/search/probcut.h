// Multi-ProbCut: a shallow search predicts what a deep one will find, and a
// node whose prediction lies outside its window with enough confidence is
// cut without the deep search. The prediction is a straight line fitted per
// game stage and per depth pair (`kaimo-train probcut`):
//
//     deep value ≈ slope × shallow value + intercept, deviation σ around it.
//
// A node with `depth` plies left and window (alpha, beta) asks the shallow
// search whether its value reaches (beta + tσ − intercept) / slope; if it
// does, the deep value reaches beta with confidence t and the node returns
// beta. The same below alpha. Nodes at every depth of the table check, each
// with its own pair, so the cuts happen at many heights of the tree.
//
// The table of "狐" is the data file "probcut.dat" beside its other data,
// little-endian, 24 header bytes, 16 bytes per entry and a checksum:
//
//     0  "KMPC"
//     4  int32 format version (2)
//     8  int32 stage count S (1..96)
//    12  int32 empty squares per stage W (1..96): stage = min(empties / W, S − 1)
//    16  int32 first deep depth F (1..60)
//    20  int32 last deep depth L (F..60)
//    24  S × (L − F + 1) entries, stage by stage, deep depth F first:
//          int32 shallow depth (0 .. deep depth − 1)
//          int32 slope in ten-thousandths (1..100000)
//          int32 intercept in score units (1000 a disc, −100000..100000)
//          int32 deviation in score units (1..100000)
//     then uint64 checksum: 64-bit FNV-1a of every byte before it
//
// The file's size must be exactly that. Version 1 (the same without the
// checksum) is refused like a damaged file: a flipped bit there could move
// a slope inside its range and change the searches unseen. A node deeper than L uses the pair
// of L with its shallow depth moved up as much (the same gap).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kaimo {

struct ProbCutPair {
  int shallow = 0;  // depth of the shallow search
  double slope = 1;
  double intercept = 0;  // score units
  double deviation = 0;  // score units
};

class ProbCutTable {
 public:
  static constexpr int kMaxStages = 96;
  static constexpr int kMaxDepth = 60;
  static constexpr int kHeaderBytes = 24;
  static constexpr int kEntryBytes = 16;
  static constexpr int kChecksumBytes = 8;
  static constexpr int kVersion = 2;
  static constexpr const char* kFileName = "probcut.dat";

  // S stages of W empty squares each, deep depths F..L, every pair the
  // identity line with deviation 1 until set.
  ProbCutTable(int stageCount, int emptiesPerStage, int firstDepth, int lastDepth);

  int stageCount() const { return stageCount_; }
  int emptiesPerStage() const { return emptiesPerStage_; }
  int firstDepth() const { return firstDepth_; }
  int lastDepth() const { return lastDepth_; }
  int stageOf(int empties) const;

  ProbCutPair& at(int stage, int depth) { return pairs_[index(stage, depth)]; }
  const ProbCutPair& at(int stage, int depth) const { return pairs_[index(stage, depth)]; }

  // The pair a node with `empties` squares and `depth` plies left checks
  // with; false below the first depth.
  bool pairFor(int empties, int depth, ProbCutPair& pair) const {
    if (depth < firstDepth_) return false;
    const int stage = stageOf(empties);
    if (depth <= lastDepth_) {
      pair = at(stage, depth);
    } else {
      pair = at(stage, lastDepth_);
      pair.shallow += depth - lastDepth_;
    }
    return true;
  }

 private:
  int index(int stage, int depth) const { return stage * (lastDepth_ - firstDepth_ + 1) + depth - firstDepth_; }

  int stageCount_;
  int emptiesPerStage_;
  int firstDepth_;
  int lastDepth_;
  std::vector<ProbCutPair> pairs_;
};

// The bytes of the file (values rounded to the file's units).
std::string probCutFileBytes(const ProbCutTable& table);

// The table those bytes hold; null with `fault` saying what is wrong when
// they are not such a file.
std::unique_ptr<ProbCutTable> parseProbCutFile(const std::string& bytes, std::string& fault);

// The table of the data folder `folder` (empty: the current folder), read
// the first time it is asked for and shared from then on. Null when the file
// is missing or damaged: one line to "errorlog.txt" says so, once per folder,
// and the searches then read without ProbCut.
std::shared_ptr<const ProbCutTable> probCutTableIn(const std::filesystem::path& folder);

// How one side uses the table: the settings words turned into a search's.
struct ProbCut {
  const ProbCutTable* table = nullptr;  // null: no ProbCut
  double confidence = 0;                // t, in deviations
  int maxDepth = 0;                     // nodes with more plies left do not check
  int aboveEmpties = 0;                 // only nodes with more empty squares than this check
};

// The settings words of a side: the cut value is the confidence in
// thousandths of a deviation (0..kMaxCutValue), `maxDepth` the deepest node
// depth that checks, `aboveEmpties` the empty squares at and below which no
// node checks (both 0..60). Values outside those ranges (a settings file may hold anything)
// are taken to the nearest end.
constexpr int kMaxCutValue = 5000;
ProbCut probCutOf(const ProbCutTable* table, int cutValue, int maxDepth, int aboveEmpties);

// The null window a shallow value must reach (at least `high`) or stay
// under (at most `low`) for a cut; a bound beyond every score is no cut.
struct ProbCutBounds {
  int high;
  int low;
};
ProbCutBounds probCutBounds(const ProbCutPair& pair, double confidence, int alpha, int beta);

}  // namespace kaimo
