// The players' settings: who plays each colour and, for a computer, how deep
// it reads. They are kept between runs in the file "kaimopr.cfg", whose word
// layout lives in settings_words.h and nowhere else.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/texts/text.h"
#include "support/paths/program_paths.h"

namespace kaimo {

// Files of an older layout are ignored as a whole.
constexpr std::int32_t kSettingsVersion = 1302;
constexpr const char* kSettingsFileName = paths::kSettingsFileName;

// One colour's player. The values are kept as the file gave them (the
// dialog checks its own ranges; the controller bounds the depths it uses).
struct SidePlayer {
  int routine;          // row of the routine table: 0 "人間" (a human), 1 "狸", 2 "狐"
  int normalDepth;      // plies of a normal read ("通常読みの深さ")
  int exactDepth;       // at or below this many empty squares, read to the final count ("最終読みの深さ")
  int winDepth;         // at or below this many empty squares, read to the end ("必勝読みの深さ")
  int probCut;          // non-zero: "狐" reads with ProbCut
  int cutConfidence;    // ProbCut's confidence, in thousandths of a deviation
  int cutDepthLimit;    // the deepest node depth that tries a cut
  int cutEmptiesLimit;  // no cuts at this many empty squares or fewer

  bool operator==(const SidePlayer&) const = default;
};

// Words of the file that nothing reads, in the order they stand there:
// carried from the file and written back unchanged.
constexpr int kReservedWordCount = 14;
using ReservedWords = std::array<std::int32_t, kReservedWordCount>;

struct PlayerSettings {
  SidePlayer black;
  SidePlayer white;
  ReservedWords reserved;

  // Black a human, white "狸" reading 6 plies and the last 13 squares exactly.
  static PlayerSettings defaults();

  SidePlayer& side(int colour) { return colour == 0 ? black : white; }
  const SidePlayer& side(int colour) const { return colour == 0 ? black : white; }
  // A confirmed settings dialog has always cleared two of the reserved words.
  void clearOnConfirm();

  bool operator==(const PlayerSettings&) const = default;
};

// The words of a settings file from an open stream positioned at its start,
// taking whatever can be taken: the defaults for a file shorter than its
// header or of an older version; else of the count N the file announces,
// min(max(N, 0), 30) words, and never more than the file holds; every word
// not read keeps its default. (readSettingsFile, in settings_file.h, reads a
// file and tells a damaged one.)
PlayerSettings readPlayerSettings(std::FILE* stream);

// Writes a temporary file beside `path` and renames it over `path`, so a
// failed write leaves the previous file as it was. False on any failure.
bool savePlayerSettings(const PlayerSettings& settings, const std::string& path);

// The message shown when the file `fileName` could not be written.
texts::Wording settingsWriteErrorText(const std::string& fileName);

}  // namespace kaimo
