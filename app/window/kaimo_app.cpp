#include "app/window/kaimo_app.h"

#include <QMessageBox>

#include <memory>

#include "app/window/artwork.h"
#include "app/window/main_frame.h"
#include "app/window/product.h"
#include "app/window/qt_translations.h"

namespace kaimo {

CKaimoApp::CKaimoApp(int& argc, char** argv)
    : application_(argc, argv),
      settingsFile_(paths::settingsFile()),
      settings_(settingsFile_ ? loadPlayerSettings(*settingsFile_) : PlayerSettings::defaults()) {
  QApplication::setOrganizationName(QString::fromUtf8(product::kOrganisation));
  QApplication::setApplicationName(QString::fromUtf8(product::kName));
  QApplication::setApplicationVersion(QString::fromUtf8(product::kVersion));
  QGuiApplication::setDesktopFileName(QString::fromUtf8(product::kDesktopId));
  QApplication::setWindowIcon(programIcon());
  installQtJapanese(application_);
}

int CKaimoApp::run() {
  int code;
  {
    auto frame = std::make_unique<CMainFrame>(settings_);
    frame->show();
    code = QApplication::exec();
  }
  saveSettings();
  return code;
}

void CKaimoApp::saveSettings() {
  if (!settingsFile_) return;
  const std::filesystem::path& file = *settingsFile_;
  if (paths::makeFolder(file.parent_path()) && savePlayerSettings(settings_, file)) return;
  QMessageBox::warning(nullptr, QString::fromUtf8(product::kName), QString::fromStdString(settingsWriteErrorText(file)));
}

}  // namespace kaimo
