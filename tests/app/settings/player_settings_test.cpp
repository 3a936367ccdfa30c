#include "app/settings/player_settings.h"
#include "app/settings/settings_file.h"
#include "app/settings/settings_words.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/common/file_size_limit.h"
#include "tests/common/temp_dir.h"

namespace kaimo {
namespace {

using SettingsFile = testing::InTempDir;

const char* const kName = kSettingsFileName;

// A settings file of 32-bit little-endian words, optionally cut to `bytes`.
void writeWords(const std::vector<std::int32_t>& words, std::size_t bytes = SIZE_MAX) {
  std::string data;
  for (std::int32_t word : words) {
    auto value = static_cast<std::uint32_t>(word);
    for (int i = 0; i < 4; ++i, value >>= 8) data.push_back(static_cast<char>(value & 0xff));
  }
  std::ofstream(kName, std::ios::binary) << data.substr(0, bytes);
}

// Header (version 1302, count) and `present` words numbered 100, 101, ...
std::vector<std::int32_t> fileWords(std::int32_t count, int present) {
  std::vector<std::int32_t> words{1302, count};
  for (int i = 0; i < present; ++i) words.push_back(100 + i);
  return words;
}

// The settings the program starts with from the file.
PlayerSettings loaded(const char* name) { return readSettingsFile(name).settings; }

// What the tolerant decoder takes from a file the program would not use.
PlayerSettings decoded(const char* name) {
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) return PlayerSettings::defaults();
  const PlayerSettings settings = readPlayerSettings(file);
  std::fclose(file);
  return settings;
}

PlayerSettings expectFirstWordsFromFile(int fromFile) {
  SettingsWords expected = settingsToWords(PlayerSettings::defaults());
  for (int i = 0; i < fromFile; ++i) expected[i] = 100 + i;
  return settingsFromWords(expected);
}

TEST(PlayerSettingsDefaults, BlackHumanWhiteSimpleRoutine) {
  const PlayerSettings d = PlayerSettings::defaults();
  EXPECT_EQ(d.black.routine, 0);
  EXPECT_EQ(d.white.routine, 1);
  EXPECT_EQ(d.white.normalDepth, 6);
  EXPECT_EQ(d.white.exactDepth, 13);
  EXPECT_EQ(d.white.winDepth, 0);
  const SettingsWords words = settingsToWords(d);
  EXPECT_EQ(words[20], 8);
  EXPECT_EQ(words[21], 4);
  EXPECT_EQ(words[29], 0);
}

// Each named setting stands at its own word, and the words between them
// are carried: every word of a file with all thirty different comes back.
TEST(SettingsWordLayout, EachSettingHasItsWord) {
  SettingsWords words{};
  for (int i = 0; i < kSettingsWordCount; ++i) words[i] = 100 + i;
  const PlayerSettings s = settingsFromWords(words);
  const SidePlayer black{100, 103, 104, 114, 108, 109, 116, 117};
  const SidePlayer white{101, 110, 111, 115, 112, 113, 118, 119};
  EXPECT_EQ(s.black, black);
  EXPECT_EQ(s.white, white);
  EXPECT_EQ(s.reserved, (ReservedWords{102, 105, 106, 107, 120, 121, 122, 123, 124, 125, 126, 127, 128, 129}));
  EXPECT_EQ(settingsToWords(s), words);
}

TEST(PlayerSettingsConfirm, ClearsWordsFiveAndSixOnly) {
  SettingsWords words{};
  for (int i = 0; i < kSettingsWordCount; ++i) words[i] = 100 + i;
  PlayerSettings s = settingsFromWords(words);
  s.clearOnConfirm();
  words[5] = 0;
  words[6] = 0;
  EXPECT_EQ(settingsToWords(s), words);
}

TEST_F(SettingsFile, MissingFileGivesDefaults) { EXPECT_EQ(loaded(kName), PlayerSettings::defaults()); }

TEST_F(SettingsFile, OlderVersionIsIgnoredWhole) {
  std::vector<std::int32_t> words = fileWords(30, 30);
  words[0] = 1301;
  writeWords(words);
  EXPECT_EQ(loaded(kName), PlayerSettings::defaults());
}

TEST_F(SettingsFile, NewerVersionIsRead) {
  std::vector<std::int32_t> words = fileWords(30, 30);
  words[0] = 1400;
  writeWords(words);
  EXPECT_EQ(loaded(kName), expectFirstWordsFromFile(30));
}

TEST_F(SettingsFile, ShortCountTakesTheRestFromTheDefaults) {
  writeWords(fileWords(20, 20));
  const PlayerSettings s = loaded(kName);
  EXPECT_EQ(s, expectFirstWordsFromFile(20));
  EXPECT_EQ(settingsToWords(s)[20], 8);
  EXPECT_EQ(settingsToWords(s)[21], 4);
}

TEST_F(SettingsFile, NegativeCountReadsNothing) {
  writeWords(fileWords(-1, 30));
  EXPECT_EQ(loaded(kName), PlayerSettings::defaults());
}

TEST_F(SettingsFile, HugeCountReadsThirtyWordsAtMost) {
  writeWords(fileWords(1000, 40));
  EXPECT_EQ(decoded(kName), expectFirstWordsFromFile(30));
}

TEST_F(SettingsFile, HugeCountNeverReadsPastTheFile) {
  writeWords(fileWords(1000, 5));
  EXPECT_EQ(decoded(kName), expectFirstWordsFromFile(5));
}

TEST_F(SettingsFile, TruncatedFileKeepsDefaultsForUnreadWords) {
  // Ten whole words and half of the eleventh.
  writeWords(fileWords(30, 30), 8 + 10 * 4 + 2);
  EXPECT_EQ(decoded(kName), expectFirstWordsFromFile(10));
}

TEST_F(SettingsFile, FileShorterThanItsHeaderGivesDefaults) {
  writeWords(fileWords(30, 30), 6);
  EXPECT_EQ(loaded(kName), PlayerSettings::defaults());
}

TEST_F(SettingsFile, SaveWritesVersionCountAndWordsThenReadsBack) {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = 2;
  s.white.normalDepth = -7;
  s.reserved.back() = 0x12345678;
  ASSERT_TRUE(savePlayerSettings(s, kName));
  const std::string bytes = readFile(kName);
  ASSERT_EQ(bytes.size(), 128u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x16\x05\0\0\x1e\0\0\0", 8));
  EXPECT_EQ(bytes.substr(124, 4), "\x78\x56\x34\x12");
  EXPECT_EQ(loaded(kName), s);
  EXPECT_FALSE(std::filesystem::exists(std::string(kName) + ".tmp"));
}

// A file whose reserved words are not zero (written by another version)
// is written back byte for byte.
TEST_F(SettingsFile, ReservedWordsRoundTripUnchanged) {
  std::vector<std::int32_t> words = fileWords(30, 30);
  for (int reserved : {2, 5, 6, 7, 20, 21, 22, 29}) words[2 + reserved] = -1000 - reserved;
  writeWords(words);
  const std::string before = readFile(kName);
  ASSERT_TRUE(savePlayerSettings(loaded(kName), kName));
  EXPECT_EQ(readFile(kName), before);
}

TEST_F(SettingsFile, SaveReplacesAnOlderFile) {
  std::vector<std::int32_t> old = fileWords(30, 30);
  old[0] = 1200;
  writeWords(old);
  ASSERT_TRUE(savePlayerSettings(PlayerSettings::defaults(), kName));
  EXPECT_EQ(readFile(kName).size(), 128u);
  EXPECT_EQ(loaded(kName), PlayerSettings::defaults());
}

TEST_F(SettingsFile, AFileThatCannotBeCreatedIsReported) {
  writeFile("blocked", "a plain file where a folder should be");
  EXPECT_FALSE(savePlayerSettings(PlayerSettings::defaults(), "blocked/kaimopr.cfg"));
}

TEST_F(SettingsFile, FailedWriteLeavesTheOldFileIntactAndNoTemporary) {
  writeWords(fileWords(30, 30));
  const std::string before = readFile(kName);
  {
    // The new file (128 bytes) breaks off half way, as on a full disk.
    const testing::FileSizeLimit limit(64);
    ASSERT_TRUE(limit.active());
    EXPECT_FALSE(savePlayerSettings(PlayerSettings::defaults(), kName));
  }
  EXPECT_EQ(readFile(kName), before);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 1u);
}

TEST(SettingsWriteError, NamesTheFileWritten) {
  EXPECT_EQ(settingsWriteErrorText(kSettingsFileName).japanese, "kaimopr.cfgへの書きこみエラーが発生しました。");
}

}  // namespace
}  // namespace kaimo
