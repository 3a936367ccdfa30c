#include "app/controller/record_text.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <regex>

#include "app/records/record_writer.h"

namespace kaimo {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Words of a move list are split at white space and commas.
const std::regex& wordPattern() {
  static const std::regex pattern(R"([^\s,]+)");
  return pattern;
}

// An optional move number ("12", "12." or "12.f5"), then an optional move.
const std::regex& listWordPattern() {
  static const std::regex pattern(R"((?:\d+\.*)?(?:([a-jA-J])(10|\d))?)");
  return pattern;
}

bool isPassWord(const std::string& word) {
  return word == "pass" || word == "Pass" || word == "PASS" || word == "パス" || word == "--";
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

bool moveListAsRecord(const std::string& text, std::string& record) {
  record.clear();
  bool anyMove = false;
  for (auto word = std::sregex_iterator(text.begin(), text.end(), wordPattern()); word != std::sregex_iterator();
       ++word) {
    const std::string w = word->str();
    if (isPassWord(w)) continue;
    std::smatch parts;
    if (!std::regex_match(w, parts, listWordPattern()) || w.empty()) return false;
    if (!parts[1].matched) continue;  // a move number alone
    const char letter = static_cast<char>(parts[1].str()[0] | 0x20);  // lower case
    const std::string row = parts[2].str();
    record += letter;
    record += row == "10" ? '0' : row[0];
    anyMove = true;
  }
  return anyMove;
}

RecordReadResult readRecordText(const std::string& text) {
  std::string record;
  const std::string& source = moveListAsRecord(text, record) ? record : text;
  // A stream over no bytes at all is refused on some systems; a blank reads
  // the same as nothing.
  std::string bytes = source.empty() ? std::string(" ") : source;
  File stream(fmemopen(bytes.data(), bytes.size(), "r"));
  if (!stream) return RecordReadResult{{}, RecordStatus::CannotOpen};
  return readRecord(stream.get());
}

}  // namespace kaimo
