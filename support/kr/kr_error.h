// Error codes, error reporting and the log files of the support library.
//
// An ErrorCode carries the log file number in bits 20..27, the level in bits
// 16..19 (it picks the handler) and the number in bits 0..15.
#pragma once

#include <cstdint>

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
// report, instead of the current folder (null or empty: the current folder).
// Called at start, before other threads run.
void kr_setLogFolder(const char* folder);

// The handler of levels 0, 1 and 3: appends "(LL,NNNN) function: message" to
// "krerror_<file number>.log" in the log folder.
void kr_writeErrorLog(ErrorCode code, const char* functionName, const char* message);

// Appends formatted text to "errorlog.txt" in the log folder; the caller
// supplies the line end. Does nothing when the file cannot be opened.
void logError(const char* format, ...) __attribute__((format(printf, 1, 2)));
