#include "app/controller/kept_game.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "app/records/record_limits.h"
#include "app/records/record_text.h"
#include "app/settings/settings_file.h"
#include "app/settings/settings_words.h"
#include "support/files/checksum.h"
#include "support/files/input_file.h"
#include "support/files/safe_file.h"

namespace kaimo {
namespace {

constexpr std::string_view kHeader = "Kaimo kept game 1";
constexpr std::string_view kRecordLine = "record";
constexpr std::string_view kSumField = "sum ";
// The record's text and a few short lines.
constexpr std::size_t kMaxKeptGameBytes = kMaxRecordTextBytes + 4096;

constexpr char kSymbols[] = {'x', 'o', '.', '-'};  // black, white, empty, wall: the board's text form

std::string sumText(std::string_view body) {
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016" PRIx64, checksumOf(body));
  return digits;
}

// Reads the text line by line; every read fails once a line is missing.
class Lines {
 public:
  explicit Lines(std::string_view text) : rest_(text) {}

  std::optional<std::string_view> next() {
    const std::size_t end = rest_.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);
    return line;
  }
  // The value of a line "<name> <value>".
  std::optional<std::string_view> field(std::string_view name) {
    const std::optional<std::string_view> line = next();
    if (!line || line->size() <= name.size() || line->substr(0, name.size()) != name || (*line)[name.size()] != ' ') {
      return std::nullopt;
    }
    return line->substr(name.size() + 1);
  }
  std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;
};

std::optional<int> intOf(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<PlayerSettings> playersOf(std::string_view text) {
  SettingsWords words{};
  for (std::int32_t& word : words) {
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::optional<int> value = intOf(text.substr(0, end));
    if (!value) return std::nullopt;
    word = *value;
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  if (!text.empty()) return std::nullopt;
  return settingsFromWords(words);
}

std::optional<Board> boardOf(std::string_view text) {
  if (text.size() != kSquareCount) return std::nullopt;
  Board board;
  for (int square = 0; square < kSquareCount; ++square) {
    const char* symbol = std::find(std::begin(kSymbols), std::end(kSymbols), text[square]);
    if (symbol == std::end(kSymbols)) return std::nullopt;
    board[square] = static_cast<std::int8_t>(symbol - kSymbols);
  }
  return board;
}

}  // namespace

std::string keptGameText(const KeptGame& game) {
  std::string body{kHeader};
  body += "\nplayers";
  for (std::int32_t word : settingsToWords(game.players)) body += " " + std::to_string(word);
  // A name with a line end in it would break the lines: the game is kept without it.
  body += "\nfile " + (game.recordPath.find('\n') == std::string::npos ? game.recordPath : std::string());
  body += "\ncursor " + std::to_string(game.cursor);
  body += "\nside " + std::to_string(game.side);
  body += "\nboard ";
  for (std::int8_t square : game.board) body += kSymbols[square & 3];
  body += "\n" + std::string(kRecordLine) + "\n" + recordText(game.history) + "\n";
  return body + std::string(kSumField) + sumText(body) + "\n";
}

std::optional<KeptGame> parseKeptGame(std::string_view text) {
  // The checksum first: a file cut short or changed is refused whole.
  const std::size_t sumAt = text.rfind(kSumField);
  if (sumAt == std::string_view::npos || (sumAt > 0 && text[sumAt - 1] != '\n')) return std::nullopt;
  const std::string_view body = text.substr(0, sumAt);
  if (text.substr(sumAt) != std::string(kSumField) + sumText(body) + "\n") return std::nullopt;

  Lines lines(body);
  if (lines.next() != kHeader) return std::nullopt;
  KeptGame game;
  const std::optional<std::string_view> players = lines.field("players");
  const std::optional<PlayerSettings> settings = players ? playersOf(*players) : std::nullopt;
  const std::optional<std::string_view> file = lines.next();
  const std::optional<std::string_view> cursor = lines.field("cursor");
  const std::optional<std::string_view> side = lines.field("side");
  const std::optional<std::string_view> board = lines.field("board");
  if (!settings || !file || file->substr(0, 5) != "file " || !cursor || !side || !board) return std::nullopt;
  if (lines.next() != kRecordLine) return std::nullopt;
  game.players = *settings;
  game.recordPath = std::string(file->substr(5));
  const std::optional<int> cursorValue = intOf(*cursor);
  const std::optional<int> sideValue = intOf(*side);
  const std::optional<Board> boardValue = boardOf(*board);
  if (!cursorValue || !sideValue || (*sideValue != kBlack && *sideValue != kWhite) || !boardValue) return std::nullopt;

  RecordReadResult record = readRecordText(lines.rest());
  if (record.status != RecordStatus::Ok || record.history.empty()) return std::nullopt;
  if (*cursorValue < 0 || static_cast<std::size_t>(*cursorValue) >= record.history.size()) return std::nullopt;
  game.history = std::move(record.history);
  game.cursor = *cursorValue;
  game.side = *sideValue;
  game.board = *boardValue;
  return game;
}

KeptGameRead readKeptGame(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return {KeptGameStatus::None, {}};
  std::string text;
  if (!readInputFile(path, kMaxKeptGameBytes, text).ok()) return {KeptGameStatus::Damaged, {}};
  std::optional<KeptGame> game = parseKeptGame(text);
  if (!game) return {KeptGameStatus::Damaged, {}};
  return {KeptGameStatus::Ok, std::move(*game)};
}

bool writeKeptGame(const std::string& path, const std::string& text) {
  return writeFileSafely(
             path,
             [&text](std::FILE* stream) { return std::fwrite(text.data(), 1, text.size(), stream) == text.size(); })
      .ok();
}

std::string setDamagedKeptGameAside(const std::string& path) {
  // The settings file's way of keeping a damaged file serves any file.
  std::string kept = keepDamagedSettingsFile(path);
  if (kept.empty()) {
    std::error_code error;
    std::filesystem::remove(path, error);
  }
  return kept;
}

}  // namespace kaimo
