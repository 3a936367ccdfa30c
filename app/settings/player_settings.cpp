#include "app/settings/player_settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "support/files/safe_file.h"

namespace kaimo {
namespace {

constexpr int kWordBytes = 4;
constexpr int kHeaderBytes = 2 * kWordBytes;
constexpr int kFileBytes = kHeaderBytes + kSettingsWordCount * kWordBytes;

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
  s[kBlackRoutineWord] = 0;
  s[kWhiteRoutineWord] = 1;
  s[kBlackNormalDepthWord] = 6;
  s[kBlackExactDepthWord] = 13;
  s[kBlackCutValueWord] = 1500;
  s[kWhiteNormalDepthWord] = 6;
  s[kWhiteExactDepthWord] = 13;
  s[kWhiteCutValueWord] = 1500;
  s[kBlackProbCutAWord] = 15;
  s[kBlackProbCutBWord] = 15;
  s[kWhiteProbCutAWord] = 8;
  s[kWhiteProbCutBWord] = 4;
  s[20] = 8;
  s[21] = 4;
  return s;
}

PlayerSettings readPlayerSettings(std::FILE* stream) {
  PlayerSettings settings = PlayerSettings::defaults();
  std::vector<unsigned char> bytes;
  if (!readHead(stream, bytes) || bytes.size() < static_cast<std::size_t>(kHeaderBytes)) return settings;
  if (wordAt(bytes, 0) < kSettingsVersion) return settings;
  const int announced = std::clamp(wordAt(bytes, kWordBytes), 0, kSettingsWordCount);
  const int present = static_cast<int>((bytes.size() - kHeaderBytes) / kWordBytes);
  const int count = std::min(announced, present);
  for (int i = 0; i < count; ++i) settings[i] = wordAt(bytes, kHeaderBytes + i * kWordBytes);
  return settings;
}

bool savePlayerSettings(const PlayerSettings& settings, const std::string& path) {
  std::vector<unsigned char> bytes;
  bytes.reserve(kFileBytes);
  appendWord(bytes, kSettingsVersion);
  appendWord(bytes, kSettingsWordCount);
  for (std::int32_t word : settings.words) appendWord(bytes, word);

  const SafeWriteResult result = writeFileSafely(path, [&bytes](std::FILE* file) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  });
  return result.ok();
}

std::string settingsWriteErrorText(const std::string& fileName) {
  return fileName + "への書きこみエラーが発生しました。";
}

}  // namespace kaimo
