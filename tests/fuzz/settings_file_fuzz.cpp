// Any bytes read as a settings file give the words a plain decoding of the
// format predicts: the defaults for a short file or an older version, else
// as many words as the count allows and the file holds, little-endian, and
// the defaults after them. Writing them and reading the file back gives them
// again.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/settings/player_settings.h"
#include "app/settings/settings_words.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using kaimo::PlayerSettings;
using kaimo::fuzz::require;

std::int32_t littleEndianWord(const std::uint8_t* bytes) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                                   static_cast<std::uint32_t>(bytes[2]) << 16 |
                                   static_cast<std::uint32_t>(bytes[3]) << 24);
}

PlayerSettings expectedSettings(const std::uint8_t* data, std::size_t size) {
  const PlayerSettings defaults = PlayerSettings::defaults();
  if (size < 8 || littleEndianWord(data) < kaimo::kSettingsVersion) return defaults;
  kaimo::SettingsWords words = kaimo::settingsToWords(defaults);
  const std::int64_t announced = littleEndianWord(data + 4);
  const std::int64_t present = static_cast<std::int64_t>((size - 8) / 4);
  const std::int64_t count = std::max<std::int64_t>(0, std::min({announced, present, std::int64_t{30}}));
  for (std::int64_t i = 0; i < count; ++i) words[static_cast<std::size_t>(i)] = littleEndianWord(data + 8 + 4 * i);
  return kaimo::settingsFromWords(words);
}

PlayerSettings readBytes(const std::uint8_t* data, std::size_t size) {
  std::FILE* stream = kaimo::fuzz::openInput(data, size);
  require(stream != nullptr, "fmemopen");
  const PlayerSettings settings = kaimo::readPlayerSettings(stream);
  std::fclose(stream);
  return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const PlayerSettings read = readBytes(data, size);
  const kaimo::SettingsWords readWords = kaimo::settingsToWords(read);
  require(read == expectedSettings(data, size), "words differ from the format's decoding");

  // What savePlayerSettings writes: version, count, the 30 words.
  std::uint8_t file[8 + 4 * kaimo::kSettingsWordCount];
  const std::int32_t header[2] = {kaimo::kSettingsVersion, kaimo::kSettingsWordCount};
  for (int i = 0; i < 2 + kaimo::kSettingsWordCount; ++i) {
    const auto word = static_cast<std::uint32_t>(i < 2 ? header[i] : readWords[i - 2]);
    for (int b = 0; b < 4; ++b) file[4 * i + b] = static_cast<std::uint8_t>(word >> (8 * b));
  }
  require(readBytes(file, sizeof file) == read, "a written file does not read back");
  return 0;
}
