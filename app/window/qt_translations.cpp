#include "app/window/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kaimo {

bool installQtJapanese(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  // Dates, sizes and file types in the file dialogs follow the locale.
  QLocale::setDefault(japanese);
  return QCoreApplication::installTranslator(translator);
}

}  // namespace kaimo
