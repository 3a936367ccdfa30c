#include "app/window/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kaimo {

bool useQtLanguage(Language language) {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr) return false;
  // The one translator is the application's child, found again by its name.
  const QString name = QStringLiteral("kaimoQtTranslation");
  delete application->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly);  // a deleted translator is removed
  const QLocale locale = language == Language::Japanese ? QLocale(QLocale::Japanese, QLocale::Japan)
                                                        : QLocale(QLocale::English, QLocale::UnitedStates);
  // Dates, sizes and file types in the file dialogs follow the locale.
  QLocale::setDefault(locale);
  if (language == Language::English) return true;
  auto* translator = new QTranslator(application);
  translator->setObjectName(name);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace kaimo
