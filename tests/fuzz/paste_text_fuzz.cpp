// Any text pasted into the window (or given to `kaimo-cli record show`)
// gives a usable history, whatever its words and however long they are;
// the record text of that history reads back to it; and on texts short
// enough for it, a regular expression of the move-list words agrees with
// the one-pass reader about which texts are move lists and what they say.
#include <cstdint>
#include <regex>
#include <string>

#include "app/records/record_text.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/history_checks.h"

namespace {

using kaimo::fuzz::require;

// Long enough for every word form, short enough for the recursion of a
// regular expression matcher.
constexpr std::size_t kLongestComparedText = 512;

// The move list as a regular expression reads it: words split at white
// space and commas, each an optional move number and an optional move.
bool moveListByPattern(const std::string& text, std::string& record) {
  static const std::regex word(R"([^\s,]+)");
  static const std::regex listWord(R"((?:\d+\.*)?(?:([a-jA-J])(10|\d))?)");
  record.clear();
  for (auto w = std::sregex_iterator(text.begin(), text.end(), word); w != std::sregex_iterator(); ++w) {
    const std::string s = w->str();
    if (s == "pass" || s == "Pass" || s == "PASS" || s == "パス" || s == "--") continue;
    std::smatch parts;
    if (!std::regex_match(s, parts, listWord)) return false;
    if (!parts[1].matched) continue;
    record += static_cast<char>(parts[1].str()[0] | 0x20);
    record += parts[2].str() == "10" ? '0' : parts[2].str()[0];
  }
  return !record.empty();
}

// An input that starts with this byte stands for the rest of it repeated
// end to end to 100 KB, so the read meets every kind of word that long
// without each run paying for a read of 100 KB.
constexpr char kStretchMark = '*';
constexpr std::size_t kStretchedBytes = 100 * 1024 + 1;

kaimo::RecordReadResult readUsable(const std::string& text) {
  const kaimo::RecordReadResult read = kaimo::readRecordText(text);
  if (text.size() > kaimo::kMaxRecordTextBytes) {
    require(read.status == kaimo::RecordStatus::TooLarge && read.history.empty(), "a text too large was read");
    return read;
  }
  if (read.status == kaimo::RecordStatus::NotARecord) {
    require(read.history.empty(), "a text with nothing of a record gave a history");
    return read;
  }
  require(read.status == kaimo::RecordStatus::Ok || read.status == kaimo::RecordStatus::FormatError,
          "unexpected status reading a text");
  kaimo::fuzz::requireUsableHistory(read.history);
  return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (size > 1 && text[0] == kStretchMark) {
    std::string stretched;
    stretched.reserve(kStretchedBytes + size);
    while (stretched.size() < kStretchedBytes) stretched.append(text, 1);
    (void)readUsable(stretched);
    return 0;
  }
  const kaimo::RecordReadResult read = readUsable(text);
  if (read.history.empty()) return 0;
  const kaimo::RecordReadResult again = kaimo::readRecordText(kaimo::recordText(read.history));
  require(again.status == kaimo::RecordStatus::Ok, "the record text of a history does not read back");
  require(again.history == read.history, "the record text of a history reads back to another history");

  if (size <= kLongestComparedText) {
    std::string byReader, byPattern;
    const bool list = kaimo::moveListAsRecord(text, byReader);
    require(list == moveListByPattern(text, byPattern), "the reader and the pattern disagree on a move list");
    require(!list || byReader == byPattern, "the reader and the pattern read a move list differently");
  }
  return 0;
}
