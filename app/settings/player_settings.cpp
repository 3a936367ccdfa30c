#include "app/settings/player_settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/settings/settings_words.h"
#include "support/files/safe_file.h"

namespace kaimo {
namespace {

constexpr int kWordBytes = 4;
constexpr int kHeaderBytes = 2 * kWordBytes;
constexpr int kFileBytes = kHeaderBytes + kSettingsWordCount * kWordBytes;

constexpr texts::Pattern kWriteError{"%sへの書きこみエラーが発生しました。", "The settings could not be written to %s."};

std::int32_t wordAt(const std::vector<unsigned char>& bytes, int offset) {
  std::uint32_t value = 0;
  for (int i = kWordBytes - 1; i >= 0; --i) value = (value << 8) | bytes[offset + i];
  return static_cast<std::int32_t>(value);
}

void appendWord(std::vector<unsigned char>& bytes, std::int32_t word) {
  auto value = static_cast<std::uint32_t>(word);
  for (int i = 0; i < kWordBytes; ++i, value >>= 8) bytes.push_back(static_cast<unsigned char>(value & 0xff));
}

// The first kFileBytes of the stream (less when it is shorter); false when
// it cannot be read.
bool readHead(std::FILE* stream, std::vector<unsigned char>& bytes) {
  bytes.resize(kFileBytes);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), stream);
  bytes.resize(got);
  return std::ferror(stream) == 0;
}

}  // namespace

PlayerSettings PlayerSettings::defaults() {
  PlayerSettings s{};
  s.black = SidePlayer{.routine = 0,
                       .normalDepth = 6,
                       .exactDepth = 13,
                       .winDepth = 0,
                       .probCut = 0,
                       .cutConfidence = 1500,
                       .cutDepthLimit = 15,
                       .cutEmptiesLimit = 15};
  s.white = SidePlayer{.routine = 1,
                       .normalDepth = 6,
                       .exactDepth = 13,
                       .winDepth = 0,
                       .probCut = 0,
                       .cutConfidence = 1500,
                       .cutDepthLimit = 8,
                       .cutEmptiesLimit = 4};
  // Words 2, 5, 6, 7, 20, 21, 22 ... 29 of the file.
  s.reserved = ReservedWords{0, 0, 0, 0, 8, 4};
  return s;
}

PlayerSettings readPlayerSettings(std::FILE* stream) {
  const PlayerSettings defaults = PlayerSettings::defaults();
  std::vector<unsigned char> bytes;
  if (!readHead(stream, bytes) || bytes.size() < static_cast<std::size_t>(kHeaderBytes)) return defaults;
  if (wordAt(bytes, 0) < kSettingsVersion) return defaults;
  SettingsWords words = settingsToWords(defaults);
  const int announced = std::clamp(wordAt(bytes, kWordBytes), 0, kSettingsWordCount);
  const int present = static_cast<int>((bytes.size() - kHeaderBytes) / kWordBytes);
  const int count = std::min(announced, present);
  for (int i = 0; i < count; ++i) words[i] = wordAt(bytes, kHeaderBytes + i * kWordBytes);
  return settingsFromWords(words);
}

bool savePlayerSettings(const PlayerSettings& settings, const std::string& path) {
  std::vector<unsigned char> bytes;
  bytes.reserve(kFileBytes);
  appendWord(bytes, kSettingsVersion);
  appendWord(bytes, kSettingsWordCount);
  for (std::int32_t word : settingsToWords(settings)) appendWord(bytes, word);

  const SafeWriteResult result = writeFileSafely(
      path, [&bytes](std::FILE* file) { return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(); });
  return result.ok();
}

texts::Wording settingsWriteErrorText(const std::string& fileName) {
  return texts::formatBoth(kWriteError, fileName.c_str());
}

}  // namespace kaimo
