#include "app/records/record_text.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/records/record_writer.h"
#include "support/files/input_file.h"

namespace kaimo {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Words of a move list are split at white space (as the C locale has it:
// the reader of records skips the same) and at commas.
bool separatesWords(char c) {
  return c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Some editors start a UTF-8 text with it; the clipboard may carry it along.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isPassWord(std::string_view word) {
  return word == "pass" || word == "Pass" || word == "PASS" || word == "パス" || word == "--";
}

// A word of a move list: an optional move number ("12", "12." or "12.f5"),
// then an optional move, a column a..j of either case and a row "1".."9",
// "0" or "10". Appends the move in record notation to `record`; false when
// the word is neither.
bool readListWord(std::string_view word, std::string& record) {
  std::size_t at = 0;
  if (isDigit(word[at])) {
    while (at < word.size() && isDigit(word[at])) ++at;
    while (at < word.size() && word[at] == '.') ++at;
  }
  if (at == word.size()) return true;                      // a move number alone
  const char letter = static_cast<char>(word[at] | 0x20);  // lower case
  if (letter < 'a' || letter > 'j') return false;
  const std::string_view row = word.substr(at + 1);
  if (row != "10" && (row.size() != 1 || !isDigit(row[0]))) return false;
  record += letter;
  record += row == "10" ? '0' : row[0];
  return true;
}

}  // namespace

std::string recordText(const History& history) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_memstream(&buffer, &size);
  if (stream == nullptr) return {};
  const RecordWriteResult written = writeRecord(stream, history);
  std::fclose(stream);
  std::string text = written.status == RecordStatus::Ok ? std::string(buffer, size) : std::string();
  std::free(buffer);
  return text;
}

bool moveListAsRecord(std::string_view text, std::string& record) {
  record.clear();
  std::size_t at = 0;
  while (at < text.size()) {
    if (separatesWords(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && !separatesWords(text[end])) ++end;
    const std::string_view word = text.substr(at, end - at);
    if (!isPassWord(word) && !readListWord(word, record)) return false;
    at = end;
  }
  return !record.empty();
}

RecordReadResult readRecordText(std::string_view text) {
  if (text.size() > kMaxRecordTextBytes) return {{}, RecordStatus::TooLarge};
  // The record reader skips a leading byte-order mark itself.
  std::string_view listText = text;
  if (listText.starts_with(kByteOrderMark)) listText.remove_prefix(kByteOrderMark.size());
  std::string record;
  // A stream over no bytes at all is refused on some systems; a blank reads
  // the same as nothing.
  std::string bytes = moveListAsRecord(listText, record) ? std::move(record) : std::string(text);
  if (bytes.empty()) bytes.push_back(' ');
  File stream(fmemopen(bytes.data(), bytes.size(), "r"));
  if (!stream) return RecordReadResult{{}, RecordStatus::CannotOpen};
  return readRecord(stream.get());
}

RecordReadResult readRecordTextFile(const std::string& path) {
  std::string text;
  const InputFileResult read = readInputFile(path, kMaxRecordTextBytes, text);
  if (read.status == InputFileStatus::TooLarge) return {{}, RecordStatus::TooLarge};
  if (!read.ok()) return {{}, RecordStatus::CannotOpen};
  return readRecordText(text);
}

}  // namespace kaimo
