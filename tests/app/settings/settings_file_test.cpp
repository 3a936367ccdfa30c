#include "app/settings/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include <sys/stat.h>

#include "tests/common/temp_dir.h"

namespace kaimo {
namespace {

namespace fs = std::filesystem;
using SettingsAtStartTest = testing::InTempDir;

const std::string kName = kSettingsFileName;

std::string word(std::int32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xff));
  return bytes;
}

// A file of `version` with `count` words, each 7.
std::string settingsBytes(std::int32_t version, std::int32_t count) {
  std::string bytes = word(version) + word(count);
  for (int i = 0; i < count; ++i) bytes += word(7);
  return bytes;
}

std::string randomBytes(std::size_t size) {
  std::mt19937 random(42);
  std::string bytes;
  for (std::size_t i = 0; i < size; ++i) bytes.push_back(static_cast<char>(random() & 0xff));
  return bytes;
}

struct DamagedCase {
  const char* name;
  std::string bytes;  // the file's contents; ignored for a FIFO or a huge file
  SettingsFault fault;
};

// Every damaged regular file is moved aside whole before anything writes
// the defaults in its place; a FIFO is neither read nor replaced.
TEST_F(SettingsAtStartTest, AnUnusableFileIsKeptAndTheDefaultsServe) {
  const DamagedCase cases[] = {
      {"older version", settingsBytes(1301, 30), SettingsFault::OldVersion},
      {"zero length", "", SettingsFault::TooShort},
      {"seven bytes", settingsBytes(1302, 30).substr(0, 7), SettingsFault::TooShort},
      {"random bytes", randomBytes(200), SettingsFault::WrongLength},
      {"cut to 20 bytes", settingsBytes(1302, 30).substr(0, 20), SettingsFault::WrongLength},
      {"one byte too many", settingsBytes(1302, 30) + "x", SettingsFault::WrongLength},
      {"negative count", word(1302) + word(-1), SettingsFault::WrongLength},
      {"huge", "", SettingsFault::TooLarge},
      {"fifo", "", SettingsFault::NotAFile},
  };
  for (const DamagedCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = c.name;
    if (name == "fifo") {
      ASSERT_EQ(::mkfifo(kName.c_str(), 0600), 0);
    } else {
      writeFile(kName, c.bytes);
      if (name == "huge") fs::resize_file(kName, 100u << 20);  // sparse: costs no disk
    }
    const std::uintmax_t before = name == "fifo" ? 0 : fs::file_size(kName);

    const SettingsAtStart start = settingsAtStart(kName);
    EXPECT_EQ(start.read.fault, c.fault);
    EXPECT_EQ(start.read.settings, PlayerSettings::defaults());
    if (name == "fifo") {
      EXPECT_TRUE(start.keptAs.empty());
      EXPECT_FALSE(start.writable);
      EXPECT_TRUE(fs::is_fifo(kName));
    } else {
      EXPECT_EQ(start.keptAs, kName + ".bad");
      EXPECT_TRUE(start.writable);
      EXPECT_FALSE(fs::exists(kName));
      ASSERT_TRUE(fs::exists(kName + ".bad"));
      EXPECT_EQ(fs::file_size(kName + ".bad"), before);
      if (name != "huge") {
        EXPECT_EQ(readFile(kName + ".bad"), c.bytes);
      }
    }
    fs::remove(kName);
    fs::remove(kName + ".bad");
  }
}

TEST_F(SettingsAtStartTest, UsableOrMissingFilesStayWhereTheyAre) {
  EXPECT_EQ(settingsAtStart(kName).read.fault, SettingsFault::None);
  EXPECT_FALSE(fs::exists(kName + ".bad"));
  for (std::int32_t count : {0, 20, 30, 40}) {
    writeFile(kName, settingsBytes(1302, count));
    const SettingsAtStart start = settingsAtStart(kName);
    EXPECT_EQ(start.read.fault, SettingsFault::None) << count;
    EXPECT_TRUE(start.keptAs.empty());
    EXPECT_TRUE(fs::exists(kName));
    const SidePlayer& black = start.read.settings.black;
    EXPECT_EQ(count > 0 ? black.routine : black.normalDepth, count > 0 ? 7 : 6) << count;
  }
}

TEST_F(SettingsAtStartTest, AnEarlierKeptFileIsNotWrittenOver) {
  writeFile(kName + ".bad", "first");
  writeFile(kName, "second");
  EXPECT_EQ(settingsAtStart(kName).keptAs, kName + ".bad2");
  EXPECT_EQ(readFile(kName + ".bad"), "first");
  EXPECT_EQ(readFile(kName + ".bad2"), "second");
}

TEST_F(SettingsAtStartTest, AFileThatCannotBeMovedIsLeftAndNotWritten) {
  // Every name a damaged file could be kept under is taken.
  writeFile(kName + ".bad", "");
  for (int n = 2; n <= 99; ++n) writeFile(kName + ".bad" + std::to_string(n), "");
  writeFile(kName, "damaged");
  const SettingsAtStart start = settingsAtStart(kName);
  EXPECT_TRUE(start.keptAs.empty());
  EXPECT_FALSE(start.writable);
  EXPECT_EQ(readFile(kName), "damaged");
}

}  // namespace
}  // namespace kaimo
