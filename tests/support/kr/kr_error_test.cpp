#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/kr/kr_error.h"
#include "tests/common/temp_dir.h"

namespace {

using KrError = kaimo::testing::InTempDir;

TEST_F(KrError, DetailedReportAppendsOneLineToTheLogOfItsFile) {
  ErrorRecord record{};
  const ErrorCode code = kr_reportError(&record, "kr_mapCreate", KR_ARGUMENT_OUT_OF_RANGE,
                                        "引数%s(%ld)が不法(< %ld)です。", "hash_length", 0L, 1L);
  EXPECT_EQ(code, KR_ARGUMENT_OUT_OF_RANGE);
  EXPECT_EQ(readFile("krerror_0.log"), "(01,0004) kr_mapCreate: 引数hash_length(0)が不法(< 1)です。\n");
  EXPECT_EQ(record.code, KR_ARGUMENT_OUT_OF_RANGE);
  EXPECT_STREQ(record.message, "引数hash_length(0)が不法(< 1)です。");
  EXPECT_STREQ(record.functionName, "kr_mapCreate");
  kr_reportError(nullptr, "f", KR_NO_MEMORY, "x");
  EXPECT_EQ(readFile("krerror_0.log"), "(01,0004) kr_mapCreate: 引数hash_length(0)が不法(< 1)です。\n(00,0001) f: x\n");
}

TEST_F(KrError, StandardMessagesAndUnknownCodes) {
  kr_reportStandardError(nullptr, "g", KR_OK);
  EXPECT_EQ(readFile("krerror_0.log"), "(00,0000) g: 正常です。\n");
  kr_reportStandardError(nullptr, "h", 7);
  EXPECT_EQ(readFile("krerror_1.log"), "(01,0001) h: 不法なエラーコード(7)です。\n");
}

TEST_F(KrError, LevelsWithoutHandlerAreOnlyRecorded) {
  ErrorRecord record{};
  for (int level : {2, 4, 9, 15}) {
    const ErrorCode code = (level << 16) | 0x42;
    EXPECT_EQ(kr_reportError(&record, "f", code, "m"), code);
    EXPECT_EQ(record.code, code);
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

TEST_F(KrError, LongTextIsCutInsideTheRecord) {
  ErrorRecord record;
  std::memset(&record, 'z', sizeof record);
  const std::string longName(1000, 'n');
  const std::string longText(2000, 't');
  kr_reportError(&record, longName.c_str(), (2 << 16), "%s", longText.c_str());
  EXPECT_EQ(std::string(record.message), std::string(KR_MESSAGE_SIZE - 1, 't'));
  EXPECT_EQ(std::string(record.functionName), std::string(KR_FUNCTION_NAME_SIZE - 1, 'n'));
}

TEST_F(KrError, LogErrorAppendsAndSurvivesAnUnwritableLog) {
  logError("ルーチン狐: データファイル %s が開けません。\n", "kaimogr10.dat");
  logError("second\n");
  EXPECT_EQ(readFile("errorlog.txt"), "ルーチン狐: データファイル kaimogr10.dat が開けません。\nsecond\n");
  std::filesystem::remove("errorlog.txt");
  std::filesystem::create_directory("errorlog.txt");  // cannot be opened for appending
  logError("dropped\n");
  EXPECT_TRUE(std::filesystem::is_directory("errorlog.txt"));
}

TEST_F(KrError, BothLogsGoToTheLogFolderMadeOnTheFirstReport) {
  kr_setLogFolder("state/kaimo");
  EXPECT_FALSE(std::filesystem::exists("state"));
  logError("one\n");
  kr_reportStandardError(nullptr, "g", KR_NO_MEMORY);
  EXPECT_EQ(kr_errorLogPath(), (dir_ / "state/kaimo/errorlog.txt").string());
  EXPECT_EQ(kr_messageWithErrorLog("see errorlog.txt"), "see errorlog.txt\n" + kr_errorLogPath());
  kr_setLogFolder("");
  EXPECT_EQ(readFile("state/kaimo/errorlog.txt"), "one\n");
  EXPECT_EQ(readFile("state/kaimo/krerror_0.log"), "(00,0001) g: メモリの確保に失敗しました。\n");
  logError("here\n");
  EXPECT_EQ(readFile("errorlog.txt"), "here\n");
  EXPECT_EQ(kr_errorLogPath(), "");
  EXPECT_EQ(kr_messageWithErrorLog("see errorlog.txt"), "see errorlog.txt");
}

// A program with no folder for its logs writes them to standard error, each
// line after the name of its log, and nothing into the current folder.
TEST_F(KrError, WithoutALogFolderTheLogsGoToStandardError) {
  kr_setLogFolder(nullptr);
  ::testing::internal::CaptureStderr();
  logError("one\n");
  kr_reportStandardError(nullptr, "g", KR_NO_MEMORY);
  const std::string errors = ::testing::internal::GetCapturedStderr();
  const std::string path = kr_errorLogPath();
  kr_setLogFolder("");
  EXPECT_EQ(errors, "errorlog.txt: one\nkrerror_0.log: (00,0001) g: メモリの確保に失敗しました。\n");
  EXPECT_EQ(path, "");
  EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

}  // namespace
