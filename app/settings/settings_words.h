// The settings file's thirty words: where each setting of PlayerSettings
// stands among them. Only the file's reader and writer (and the tests of
// the format) see this layout.
#pragma once

#include <array>
#include <cstdint>

#include "app/settings/player_settings.h"

namespace kaimo {

constexpr int kSettingsWordCount = 30;
using SettingsWords = std::array<std::int32_t, kSettingsWordCount>;

SettingsWords settingsToWords(const PlayerSettings& settings);
PlayerSettings settingsFromWords(const SettingsWords& words);

}  // namespace kaimo
