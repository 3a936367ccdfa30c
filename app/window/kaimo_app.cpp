#include "app/window/kaimo_app.h"

#include <QMessageBox>

#include <algorithm>
#include <memory>

#include "app/controller/game_texts.h"
#include "app/settings/settings_file.h"
#include "app/window/artwork.h"
#include "app/window/main_frame.h"
#include "app/window/product.h"
#include "app/window/window_options.h"
#include "support/kr/kr_error.h"
#include "support/paths/program_paths.h"

namespace kaimo {

CKaimoApp::CKaimoApp(int& argc, char** argv)
    : application_(argc, argv), settingsFile_(paths::settingsFile()), settings_(PlayerSettings::defaults()) {
  QApplication::setOrganizationName(QString::fromUtf8(product::kOrganisation));
  QApplication::setApplicationName(QString::fromUtf8(product::kName));
  QApplication::setApplicationVersion(QString::fromUtf8(product::kVersion));
  QGuiApplication::setDesktopFileName(QString::fromUtf8(product::kDesktopId));
  QApplication::setWindowIcon(programIcon());
  if (settingsFile_) readSettings();
}

// A file that is there but cannot be used is kept, logged and told once
// the window is up; the defaults serve meanwhile.
void CKaimoApp::readSettings() {
  const std::string path = settingsFile_->string();
  const SettingsAtStart start = settingsAtStart(path);
  settings_ = start.read.settings;
  if (start.read.fault == SettingsFault::None) return;
  startMessage_ = texts::settingsAtStartText(path, start);
  std::string line = startMessage_.japanese;
  std::replace(line.begin(), line.end(), '\n', ' ');
  logError("%s\n", line.c_str());
  if (!start.writable) settingsFile_.reset();
}

int CKaimoApp::run() {
  int code;
  {
    auto frame = std::make_unique<CMainFrame>(settings_);
    // Where the user left it; the first time, or from damaged data, where
    // the window places itself.
    frame->restoreGeometry(options::loadWindowGeometry());
    frame->show();
    if (!startMessage_.empty()) {
      QMessageBox::warning(frame.get(), QString::fromUtf8(product::kName),
                           QString::fromStdString(startMessage_.in(frame->language())));
    }
    keepGame(*frame);
    code = QApplication::exec();
    language_ = frame->language();
  }
  saveSettings();
  return code;
}

// In the state folder; without one (no home at all) nothing is kept.
void CKaimoApp::keepGame(CMainFrame& frame) {
  const std::optional<std::filesystem::path> folder = paths::stateFolder();
  if (!folder || !paths::makeFolder(*folder)) return;
  frame.keepGameIn((*folder / kKeptGameFileName).string());
}

void CKaimoApp::saveSettings() {
  if (!settingsFile_) return;
  const std::filesystem::path& file = *settingsFile_;
  if (paths::makeFolder(file.parent_path()) && savePlayerSettings(settings_, file)) return;
  QMessageBox::warning(nullptr, QString::fromUtf8(product::kName),
                       QString::fromStdString(settingsWriteErrorText(file).in(language_)));
}

}  // namespace kaimo
