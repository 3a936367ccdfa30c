#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <string>

#include <sys/stat.h>

#include "app/records/record_writer.h"
#include "support/files/safe_file.h"
#include "tests/app/records/record_test_util.h"
#include "tests/common/file_size_limit.h"
#include "tests/common/temp_dir.h"

namespace kaimo {
namespace {

namespace fs = std::filesystem;

class SafeSave : public testing::InTempDir {
 protected:
  // Only the files the test made, no temporary leftovers.
  std::size_t filesInDir() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  static History someGame() { return testing::playedHistory(testing::initialBoard(), kBlack, {34, 33, 32, 22}); }
};

TEST_F(SafeSave, CreatesAndReplacesTheFile) {
  ASSERT_EQ(writeRecord("game.txt", someGame()).status, RecordStatus::Ok);
  EXPECT_EQ(readFile("game.txt"), "d5d4d3c3");
  ASSERT_EQ(writeRecord("game.txt", {{kBlack, -1, testing::initialBoard()}}).status, RecordStatus::Ok);
  EXPECT_EQ(readFile("game.txt"), "");
  EXPECT_EQ(filesInDir(), 1u);
  const RecordReadResult read = readRecord("game.txt");
  EXPECT_EQ(read.status, RecordStatus::Ok);
  EXPECT_EQ(read.history.size(), 1u);
}

TEST_F(SafeSave, AReplacedFileKeepsItsPermissionsAndLinksStay) {
  writeFile("real.txt", "old");
  fs::permissions("real.txt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("real.txt", "link.txt");
  ASSERT_EQ(writeRecord("link.txt", someGame()).status, RecordStatus::Ok);
  EXPECT_TRUE(fs::is_symlink("link.txt"));
  EXPECT_EQ(readFile("real.txt"), "d5d4d3c3");
  EXPECT_EQ(fs::status("real.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(filesInDir(), 2u);
}

TEST_F(SafeSave, ALinkToNothingIsRefusedAndStaysALink) {
  fs::create_symlink("missing.txt", "dangling.txt");
  const RecordWriteResult result = writeRecord("dangling.txt", someGame());
  EXPECT_EQ(result.status, RecordStatus::CannotOpen);
  EXPECT_EQ(result.systemError, ENOENT);
  EXPECT_TRUE(fs::is_symlink("dangling.txt"));
  EXPECT_FALSE(fs::exists("missing.txt"));
  EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(SafeSave, AMissingDirectoryCannotBeOpened) {
  const RecordWriteResult result = writeRecord("no/such/dir/game.txt", someGame());
  EXPECT_EQ(result.status, RecordStatus::CannotOpen);
  EXPECT_EQ(result.systemError, ENOENT);
}

TEST_F(SafeSave, AFailedRenameLeavesTheTargetAndNoTemporaryFile) {
  fs::create_directory("game.txt");
  writeFile("game.txt/inside", "kept");
  const RecordWriteResult result = writeRecord("game.txt", someGame());
  EXPECT_EQ(result.status, RecordStatus::WriteFailed);
  EXPECT_EQ(result.systemError, EISDIR);
  EXPECT_EQ(readFile("game.txt/inside"), "kept");
  EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(SafeSave, AFailedWriteLeavesThePreviousFile) {
  writeFile("game.txt", "d5");
  std::mt19937 rng(8);
  RecordWriteResult result;
  {
    const testing::FileSizeLimit limit(64);
    ASSERT_TRUE(limit.active());
    result = writeRecord("game.txt", testing::randomUnrelatedHistory(rng, 10));
  }

  EXPECT_EQ(result.status, RecordStatus::WriteFailed);
  EXPECT_EQ(result.systemError, EFBIG);
  EXPECT_EQ(readFile("game.txt"), "d5");
  EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(SafeSave, AWriterThatReportsAnErrorReplacesNothing) {
  writeFile("settings.cfg", "old");
  const SafeWriteResult result = writeFileSafely("settings.cfg", [](std::FILE* stream) {
    std::fputs("half", stream);
    return false;
  });
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.failedStep, SafeWriteStep::Write);
  EXPECT_NE(result.systemError, 0);
  EXPECT_EQ(readFile("settings.cfg"), "old");
  EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(SafeSave, ANewFileFollowsTheUmask) {
  const mode_t old = ::umask(027);
  ASSERT_EQ(writeRecord("game.txt", someGame()).status, RecordStatus::Ok);
  ::umask(old);
  EXPECT_EQ(fs::status("game.txt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace kaimo
