// Error codes, error reporting and the log files of the support library.
//
// An ErrorCode carries the log file number in bits 20..27, the level in bits
// 16..19 (it picks the handler) and the number in bits 0..15.
#pragma once

#include <cstdint>
#include <string>

using ErrorCode = std::int32_t;

constexpr ErrorCode KR_OK = 0;
constexpr ErrorCode KR_NO_MEMORY = 1;
constexpr ErrorCode KR_INVALID_ARGUMENT = 0x10002;
constexpr ErrorCode KR_INVALID_OBJECT = 0x10003;
constexpr ErrorCode KR_ARGUMENT_OUT_OF_RANGE = 0x10004;
constexpr ErrorCode KR_VARIABLE_OUT_OF_RANGE = 0x10005;
constexpr ErrorCode KR_ARGUMENT_TOO_LARGE = 0x10006;
constexpr ErrorCode KR_BAD_ERROR_CODE = 0x110001;

constexpr int KR_MESSAGE_SIZE = 512;
constexpr int KR_FUNCTION_NAME_SIZE = 128;

// The last error reported against an object.
struct ErrorRecord {
  ErrorCode code;
  char message[KR_MESSAGE_SIZE];
  char functionName[KR_FUNCTION_NAME_SIZE];
};

// Formats the template into a 512-byte message (longer text is cut), fills
// the record if one is given, and hands the report to the handler of its
// level. Returns `code`.
ErrorCode kr_reportError(ErrorRecord* record, const char* functionName, ErrorCode code, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// Reports `code` with its standard message (an unknown code is reported as
// KR_BAD_ERROR_CODE naming it).
void kr_reportStandardError(ErrorRecord* record, const char* functionName, ErrorCode code);

// Puts the log files into `folder`, created with its parents on the first
// report, instead of the current folder (empty: the current folder). Null
// sends the logs to standard error, each line after the log's name: the
// program has no folder for them. Called at start, before other threads run.
void kr_setLogFolder(const char* folder);

// The logs where the program keeps them (support/paths: the current folder
// when it is kept, the user's state folder, or standard error without a home).
void kr_useProgramLogFolder();

// The full path of "errorlog.txt" when the logs go to a folder other than the
// current one, for messages that send the user there; empty when the bare
// name finds it (or the logs go to standard error).
std::string kr_errorLogPath();

// `message`, which sends the user to "errorlog.txt", with the log's full path
// on a line of its own after it when the bare name would not find the log.
std::string kr_messageWithErrorLog(const char* message);

// The handler of levels 0, 1 and 3: appends "(LL,NNNN) function: message" to
// "krerror_<file number>.log" in the log folder.
void kr_writeErrorLog(ErrorCode code, const char* functionName, const char* message);

// Appends formatted text to "errorlog.txt" in the log folder; the caller
// supplies the line end. Does nothing when the file cannot be opened.
void logError(const char* format, ...) __attribute__((format(printf, 1, 2)));
