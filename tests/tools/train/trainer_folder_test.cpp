// A trainer folder holds the files of one set of settings: one run at a time,
// settings written before any chunk and required beside existing chunks, the
// book's shard count kept.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "tests/common/temp_dir.h"
#include "tools/common/cli_args.h"
#include "tools/train/train_commands.h"

namespace kaimo::train {
namespace {

using TrainerFolder = kaimo::testing::InTempDir;

struct FolderStep {
  const char* name;
  const char* settingsFile;
  const char* lockFile;
  std::function<int(const char* dir, const char* depth, std::FILE* out)> run;
};

const FolderStep kSteps[] = {
    {"games", "games.cfg", "games.lock",
     [](const char* dir, const char* depth, std::FILE* out) {
       return runGames({"--dir", dir, "--games", "2", "--chunk", "1", "--depth", depth, "--exact", "6", "--jobs", "1"},
                       out);
     }},
    {"book", "book.cfg", "book-0.lock",
     [](const char* dir, const char* depth, std::FILE* out) {
       return runBook({"--dir", dir, "--rounds", "1", "--routine", "狸", "--depth", depth, "--game-depth", "1",
                       "--game-exact", "6", "--chunk", "1", "--jobs", "1"},
                      out);
     }},
};

// Another run holding the folder's lock, as a second process would.
class HeldLock {
 public:
  explicit HeldLock(const std::string& file) : fd_(::open(file.c_str(), O_RDWR | O_CREAT, 0666)) {
    EXPECT_EQ(::flock(fd_, LOCK_EX | LOCK_NB), 0) << file;
  }
  ~HeldLock() { ::close(fd_); }

 private:
  int fd_;
};

TEST_F(TrainerFolder, OneRunAtATimeAndNoChunksWithoutTheirSettings) {
  std::FILE* out = std::tmpfile();
  for (const FolderStep& step : kSteps) {
    SCOPED_TRACE(step.name);
    const std::string dir = step.name;
    std::filesystem::create_directory(dir);
    {
      const HeldLock other(dir + "/" + step.lockFile);
      EXPECT_EQ(step.run(step.name, "2", out), 2);
      EXPECT_FALSE(std::filesystem::exists(dir + "/" + step.settingsFile));
    }
    ASSERT_EQ(step.run(step.name, "2", out), 0);
    EXPECT_EQ(step.run(step.name, "3", out), 2);  // other settings
    // Chunks whose settings are gone, or emptied, pass under no settings.
    const std::string settings = dir + "/" + step.settingsFile;
    writeFile(settings, "");
    EXPECT_EQ(step.run(step.name, "3", out), 2);
    std::filesystem::remove(settings);
    EXPECT_EQ(step.run(step.name, "2", out), 2);
    EXPECT_FALSE(std::filesystem::exists(settings));
  }
  std::fclose(out);
}

TEST_F(TrainerFolder, BookShardsOfAnotherCountAreRefusedAtOnce) {
  std::FILE* out = std::tmpfile();
  const auto shard = [&](const char* which) {
    return runBook({"--dir", "b", "--rounds", "1", "--routine", "狸", "--depth", "1", "--game-depth", "1",
                    "--game-exact", "6", "--chunk", "1", "--jobs", "1", "--shard", which},
                   out);
  };
  // Round 0 is one chunk, shard 0's: of 2 shards or of 3, shard 1 would wait for it.
  ASSERT_EQ(shard("0/2"), 0);
  EXPECT_EQ(shard("1/3"), 2);
  EXPECT_EQ(shard("0/1"), 2);
  EXPECT_EQ(shard("1/2"), 0);
  std::fclose(out);
}

}  // namespace
}  // namespace kaimo::train
