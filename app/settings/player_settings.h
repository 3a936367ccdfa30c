// The players' settings: thirty 32-bit words kept between runs in the file
// "kaimopr.cfg" (version word, word count, the words; little-endian).
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "support/paths/program_paths.h"

namespace kaimo {

constexpr int kSettingsWordCount = 30;
// Files of an older layout are ignored as a whole.
constexpr std::int32_t kSettingsVersion = 1302;
constexpr const char* kSettingsFileName = paths::kSettingsFileName;

// Word positions. The words between and after them are reserved: carried and
// written back, never read.
enum SettingsWord : int {
  kBlackRoutineWord = 0,
  kWhiteRoutineWord = 1,
  kBlackNormalDepthWord = 3,
  kBlackExactDepthWord = 4,
  kBlackProbCutWord = 8,
  kBlackCutValueWord = 9,
  kWhiteNormalDepthWord = 10,
  kWhiteExactDepthWord = 11,
  kWhiteProbCutWord = 12,
  kWhiteCutValueWord = 13,
  kBlackWinDepthWord = 14,
  kWhiteWinDepthWord = 15,
  kBlackProbCutAWord = 16,
  kBlackProbCutBWord = 17,
  kWhiteProbCutAWord = 18,
  kWhiteProbCutBWord = 19,
};

struct PlayerSettings {
  std::array<std::int32_t, kSettingsWordCount> words;

  // Black a human, white "狸" reading 6 plies and the last 13 squares exactly.
  static PlayerSettings defaults();

  std::int32_t& operator[](int word) { return words[word]; }
  std::int32_t operator[](int word) const { return words[word]; }
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
std::string settingsWriteErrorText(const std::string& fileName);

}  // namespace kaimo
