#include "support/kr/kr_error.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "support/paths/program_paths.h"

namespace {

using Handler = void (*)(ErrorCode code, const char* functionName, const char* message);

// Levels 0, 1 and 3 are logged; the others are only kept in the record.
constexpr Handler kHandlers[16] = {
    kr_writeErrorLog, kr_writeErrorLog, nullptr, kr_writeErrorLog, nullptr, nullptr, nullptr, nullptr,
    nullptr,          nullptr,          nullptr, nullptr,          nullptr, nullptr, nullptr, nullptr,
};

struct StandardMessage {
  ErrorCode code;
  const char* text;
};

constexpr StandardMessage kStandardMessages[] = {
    {KR_OK, "正常です。"},
    {KR_NO_MEMORY, "メモリの確保に失敗しました。"},
    {KR_INVALID_ARGUMENT, "引数が無効です。"},
    {KR_INVALID_OBJECT, "引数が無効なオブジェクトです。"},
    {KR_ARGUMENT_OUT_OF_RANGE, "引数が有効な範囲にありません。"},
    {KR_VARIABLE_OUT_OF_RANGE, "変数が有効な範囲にありません。"},
    {KR_ARGUMENT_TOO_LARGE, "引数が大きすぎます。"},
    {KR_BAD_ERROR_CODE, "不法なエラーコード(%ld)です。"},
};

int levelOf(ErrorCode code) { return (code >> 16) & 15; }

struct LogPlace {
  bool toStandardError = false;
  std::string folder;  // empty: the current folder
};

LogPlace& logPlace() {
  static LogPlace place;
  return place;
}

// Opens a log for appending, in the log folder, or gives standard error
// (after the log's name) when the logs go there; null when that fails.
std::FILE* openLog(const char* name) {
  const LogPlace& place = logPlace();
  if (place.toStandardError) {
    std::fprintf(stderr, "%s: ", name);
    return stderr;
  }
  if (place.folder.empty()) return std::fopen(name, "a");
  if (!kaimo::paths::makeFolder(place.folder)) return nullptr;
  return std::fopen((std::filesystem::path(place.folder) / name).c_str(), "a");
}

void closeLog(std::FILE* log) {
  if (log != stderr) std::fclose(log);
}

// Copies at most size - 1 bytes and always terminates; a null source is empty.
void copyBounded(char* destination, const char* source, std::size_t size) {
  std::snprintf(destination, size, "%s", source != nullptr ? source : "");
}

}  // namespace

ErrorCode kr_reportError(ErrorRecord* record, const char* functionName, ErrorCode code, const char* format, ...) {
  char message[KR_MESSAGE_SIZE];
  va_list arguments;
  va_start(arguments, format);
  if (format != nullptr) {
    std::vsnprintf(message, sizeof message, format, arguments);
  } else {
    message[0] = '\0';
  }
  va_end(arguments);
  if (record != nullptr) {
    record->code = code;
    copyBounded(record->message, message, sizeof record->message);
    copyBounded(record->functionName, functionName, sizeof record->functionName);
  }
  if (Handler handler = kHandlers[levelOf(code)]) handler(code, functionName != nullptr ? functionName : "", message);
  return code;
}

void kr_reportStandardError(ErrorRecord* record, const char* functionName, ErrorCode code) {
  for (const auto& standard : kStandardMessages) {
    if (standard.code == code && code != KR_BAD_ERROR_CODE) {
      kr_reportError(record, functionName, code, "%s", standard.text);
      return;
    }
  }
  kr_reportError(record, functionName, KR_BAD_ERROR_CODE, "不法なエラーコード(%ld)です。", static_cast<long>(code));
}

void kr_setLogFolder(const char* folder) {
  logPlace().toStandardError = folder == nullptr;
  logPlace().folder = folder != nullptr ? folder : "";
}

void kr_useProgramLogFolder() {
  const std::optional<std::filesystem::path> folder = kaimo::paths::logFolder();
  kr_setLogFolder(folder ? folder->c_str() : nullptr);
}

std::string kr_errorLogPath() {
  const LogPlace& place = logPlace();
  if (place.toStandardError || place.folder.empty()) return "";
  std::error_code ignored;
  return std::filesystem::absolute(std::filesystem::path(place.folder) / "errorlog.txt", ignored).string();
}

std::string kr_messageWithErrorLog(const char* message) {
  const std::string path = kr_errorLogPath();
  return path.empty() ? std::string(message) : message + ("\n" + path);
}

void kr_writeErrorLog(ErrorCode code, const char* functionName, const char* message) {
  char fileName[32];
  std::snprintf(fileName, sizeof fileName, "krerror_%d.log", (code >> 20) & 255);
  std::FILE* log = openLog(fileName);
  if (log == nullptr) return;
  std::fprintf(log, "(%02d,%04x) %s: %s\n", levelOf(code), static_cast<unsigned>(code & 0xFFFF),
               functionName != nullptr ? functionName : "", message != nullptr ? message : "");
  closeLog(log);
}

void logError(const char* format, ...) {
  std::FILE* log = openLog("errorlog.txt");
  if (log == nullptr) return;
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(log, format, arguments);
  va_end(arguments);
  closeLog(log);
}
