#include "app/window/window_options.h"

#include <QSettings>

namespace kaimo::options {

bool load(const char* key, bool fallback) { return QSettings().value(QLatin1String(key), fallback).toBool(); }

void store(const char* key, bool value) { QSettings().setValue(QLatin1String(key), value); }

std::optional<Language> loadLanguage() {
  return texts::languageOfCode(QSettings().value(QLatin1String(kLanguage)).toString().toStdString());
}

void storeLanguage(Language language) {
  QSettings().setValue(QLatin1String(kLanguage), QLatin1String(texts::languageCode(language)));
}

}  // namespace kaimo::options
