#include "app/settings/settings_words.h"

namespace kaimo {
namespace {

using SideField = int SidePlayer::*;

// A side's settings in the order of the two tables of word positions below.
constexpr SideField kSideFields[] = {
    &SidePlayer::routine, &SidePlayer::normalDepth,   &SidePlayer::exactDepth,    &SidePlayer::winDepth,
    &SidePlayer::probCut, &SidePlayer::cutConfidence, &SidePlayer::cutDepthLimit, &SidePlayer::cutEmptiesLimit,
};
constexpr int kBlackWords[] = {0, 3, 4, 14, 8, 9, 16, 17};
constexpr int kWhiteWords[] = {1, 10, 11, 15, 12, 13, 18, 19};
constexpr int kReservedWords[kReservedWordCount] = {2, 5, 6, 7, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29};

}  // namespace

SettingsWords settingsToWords(const PlayerSettings& settings) {
  SettingsWords words{};
  for (std::size_t i = 0; i < std::size(kSideFields); ++i) {
    words[kBlackWords[i]] = settings.black.*kSideFields[i];
    words[kWhiteWords[i]] = settings.white.*kSideFields[i];
  }
  for (int i = 0; i < kReservedWordCount; ++i) words[kReservedWords[i]] = settings.reserved[i];
  return words;
}

PlayerSettings settingsFromWords(const SettingsWords& words) {
  PlayerSettings settings{};
  for (std::size_t i = 0; i < std::size(kSideFields); ++i) {
    settings.black.*kSideFields[i] = words[kBlackWords[i]];
    settings.white.*kSideFields[i] = words[kWhiteWords[i]];
  }
  for (int i = 0; i < kReservedWordCount; ++i) settings.reserved[i] = words[kReservedWords[i]];
  return settings;
}

// Words 5 and 6 of the file.
void PlayerSettings::clearOnConfirm() {
  reserved[1] = 0;
  reserved[2] = 0;
}

}  // namespace kaimo
