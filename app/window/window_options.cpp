#include "app/window/window_options.h"

#include <QSettings>

namespace kaimo::options {

bool load(const char* key, bool fallback) { return QSettings().value(QLatin1String(key), fallback).toBool(); }

void store(const char* key, bool value) { QSettings().setValue(QLatin1String(key), value); }

}  // namespace kaimo::options
