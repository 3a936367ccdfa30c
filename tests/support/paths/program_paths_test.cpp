#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include <sys/stat.h>

#include "support/paths/program_paths.h"
#include "tests/common/temp_dir.h"

namespace kaimo::paths {
namespace {

namespace fs = std::filesystem;

// Each test runs in an empty folder, beside an installed tree
// prefix/bin/kaimo-cli with prefix/share/kaimo.
class ProgramPaths : public testing::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    fs::create_directories("work");
    fs::current_path("work");
  }
  fs::path prefix() const { return dir_ / "prefix"; }
  Environment installed() const { return {prefix() / "bin" / "kaimo-cli", "", "", "", ""}; }
  void installData() const {
    fs::create_directories(prefix() / "share" / "kaimo");
    writeFile(prefix() / "share" / "kaimo" / kDataMarkerFile, "");
  }
};

TEST_F(ProgramPaths, DataComeFromTheCurrentFolderFirstThenBesideTheProgram) {
  EXPECT_EQ(dataFolder(installed()), fs::path());  // none anywhere: bare names, as before
  installData();
  EXPECT_EQ(dataFolder(installed()), prefix() / "share" / "kaimo");
  EXPECT_EQ(dataFolder(Environment{}), fs::path());  // the program's place unknown
  writeFile(kDataMarkerFile, "");
  EXPECT_EQ(dataFolder(installed()), fs::path());
}

TEST_F(ProgramPaths, SettingsAndLogsGoToTheUserFoldersUnlessTheCurrentFolderIsKept) {
  struct Case {
    const char* home;
    const char* configHome;
    const char* stateHome;
    const char* accountHome;
    std::optional<fs::path> settings;  // none: not kept
    std::optional<fs::path> logs;      // none: standard error
  };
  const Case cases[] = {
      {"/h", "", "", "/a", "/h/.config/kaimo/kaimopr.cfg", "/h/.local/state/kaimo"},
      {"/h", "/c", "/s", "/a", "/c/kaimo/kaimopr.cfg", "/s/kaimo"},
      {"", "/c", "/s", "", "/c/kaimo/kaimopr.cfg", "/s/kaimo"},
      // A relative XDG folder or home is to be ignored.
      {"/h", "c", "s", "/a", "/h/.config/kaimo/kaimopr.cfg", "/h/.local/state/kaimo"},
      {"h", "", "", "/a", "/a/.config/kaimo/kaimopr.cfg", "/a/.local/state/kaimo"},
      // No $HOME: the home the user database gives.
      {"", "", "", "/a", "/a/.config/kaimo/kaimopr.cfg", "/a/.local/state/kaimo"},
      // No home at all: never the current folder.
      {"", "", "", "", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.home) + "|" + c.configHome + "|" + c.stateHome + "|" + c.accountHome);
    Environment env{prefix() / "bin" / "kaimo", c.home, c.configHome, c.stateHome, c.accountHome};
    EXPECT_EQ(settingsFile(env), c.settings);
    EXPECT_EQ(logFolder(env), c.logs);
    writeFile(kSettingsFileName, "");
    EXPECT_EQ(settingsFile(env), fs::path(kSettingsFileName));
    EXPECT_EQ(logFolder(env), fs::path());
    fs::remove(kSettingsFileName);
  }
}

TEST_F(ProgramPaths, TheProcessKnowsItsProgramFile) {
  EXPECT_EQ(Environment::ofProcess().programFile.filename(), "paths_test");
}

TEST_F(ProgramPaths, MakeFolderCreatesPrivateParentsAndRefusesAFileInTheWay) {
  EXPECT_TRUE(makeFolder(""));
  EXPECT_TRUE(makeFolder("a/b/c"));
  EXPECT_TRUE(makeFolder(fs::absolute("a/b/c")));  // existing, from the root down
  struct stat info {};
  ASSERT_EQ(::stat("a/b", &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  writeFile("a/file", "");
  EXPECT_FALSE(makeFolder("a/file/d"));
  EXPECT_FALSE(makeFolder("a/file"));
}

}  // namespace
}  // namespace kaimo::paths
