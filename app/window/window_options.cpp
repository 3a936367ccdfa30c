#include "app/window/window_options.h"

#include <QSettings>

#include <algorithm>

namespace kaimo::options {
namespace {

constexpr const char* kSidePrefixes[2] = {"Black", "White"};

QString key(int colour, const char* name) { return QLatin1String(kSidePrefixes[colour]) + QLatin1String(name); }

int loadInt(const QString& name, int fallback, int low, int high) {
  return std::clamp(QSettings().value(name, fallback).toInt(), low, high);
}

}  // namespace

bool load(const char* key, bool fallback) { return QSettings().value(QLatin1String(key), fallback).toBool(); }

void store(const char* key, bool value) { QSettings().setValue(QLatin1String(key), value); }

std::optional<Language> loadLanguage() {
  return texts::languageOfCode(QSettings().value(QLatin1String(kLanguage)).toString().toStdString());
}

void storeLanguage(Language language) {
  QSettings().setValue(QLatin1String(kLanguage), QLatin1String(texts::languageCode(language)));
}

TimeSettings loadTimes() {
  TimeSettings times;
  for (int colour = 0; colour < 2; ++colour) {
    SideTime& side = times.side(colour);
    side.mode = static_cast<TimeMode>(loadInt(key(colour, "TimeMode"), 0, 0, static_cast<int>(TimeMode::Clock)));
    side.perMoveMs = loadInt(key(colour, "MsPerMove"), side.perMoveMs, kMinPerMoveMs, kMaxPerMoveMs);
    side.clockMinutes = loadInt(key(colour, "ClockMinutes"), side.clockMinutes, kMinClockMinutes, kMaxClockMinutes);
    side.incrementSeconds = loadInt(key(colour, "IncrementSeconds"), 0, 0, kMaxIncrementSeconds);
  }
  times.loseOnTime = load(kLoseOnTime, true);
  return times;
}

void storeTimes(const TimeSettings& times) {
  QSettings settings;
  for (int colour = 0; colour < 2; ++colour) {
    const SideTime& side = times.side(colour);
    settings.setValue(key(colour, "TimeMode"), static_cast<int>(side.mode));
    settings.setValue(key(colour, "MsPerMove"), side.perMoveMs);
    settings.setValue(key(colour, "ClockMinutes"), side.clockMinutes);
    settings.setValue(key(colour, "IncrementSeconds"), side.incrementSeconds);
  }
  store(kLoseOnTime, times.loseOnTime);
}

QByteArray loadWindowGeometry() { return QSettings().value(QLatin1String(kWindowGeometry)).toByteArray(); }

void storeWindowGeometry(const QByteArray& geometry) { QSettings().setValue(QLatin1String(kWindowGeometry), geometry); }

}  // namespace kaimo::options
