#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <sys/stat.h>

#include "support/files/input_file.h"
#include "tests/common/temp_dir.h"

namespace kaimo {
namespace {

class InputFile : public testing::InTempDir {};

// Every kind of name a user can give, and what reading it must do: none of
// them may block (the FIFO has no writer) or read without bound.
TEST_F(InputFile, ReadsOnlyRegularFilesWithinTheLimit) {
  writeFile("small.txt", "0123456789");
  writeFile("empty.txt", "");
  std::filesystem::create_directory("folder");
  ASSERT_EQ(::mkfifo("fifo", 0600), 0);
  std::filesystem::create_symlink("small.txt", "link.txt");
  const struct {
    const char* path;
    std::size_t limit;
    InputFileStatus status;
    const char* contents;
  } cases[] = {
      {"small.txt", 10, InputFileStatus::Ok, "0123456789"}, {"empty.txt", 10, InputFileStatus::Ok, ""},
      {"link.txt", 10, InputFileStatus::Ok, "0123456789"},  {"small.txt", 9, InputFileStatus::TooLarge, ""},
      {"folder", 10, InputFileStatus::Folder, ""},          {"fifo", 10, InputFileStatus::NotRegular, ""},
      {"/dev/zero", 10, InputFileStatus::NotRegular, ""},   {"missing.txt", 10, InputFileStatus::CannotOpen, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string contents = "left over";
    const InputFileResult result = readInputFile(c.path, c.limit, contents);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(contents, c.contents);
    InputFileResult opened;
    std::FILE* stream = openInputFile(c.path, opened);
    EXPECT_EQ(stream != nullptr, c.status == InputFileStatus::Ok || c.status == InputFileStatus::TooLarge);
    if (stream != nullptr) std::fclose(stream);
  }
}

TEST_F(InputFile, AStreamIsCutAtTheLimit) {
  std::FILE* zeros = std::fopen("/dev/zero", "rb");
  ASSERT_NE(zeros, nullptr);
  std::string contents;
  EXPECT_EQ(readInputStream(zeros, 1000, contents).status, InputFileStatus::TooLarge);
  EXPECT_TRUE(contents.empty());
  std::fclose(zeros);
}

}  // namespace
}  // namespace kaimo
