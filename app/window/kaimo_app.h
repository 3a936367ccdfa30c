// The application: loads the players' settings, runs the main window and
// writes the settings back when the window is gone. The settings file is the
// one paths::settingsFile names; its folder is made when it is first written.
// Without one (no home folder at all) the defaults serve and nothing is kept.
#pragma once

#include <QApplication>

#include <filesystem>
#include <optional>

#include "app/settings/player_settings.h"

namespace kaimo {

class CKaimoApp {
 public:
  CKaimoApp(int& argc, char** argv);

  // The window's event loop; returns the exit code.
  int run();

 private:
  void saveSettings();

  QApplication application_;
  std::optional<std::filesystem::path> settingsFile_;
  PlayerSettings settings_;
};

}  // namespace kaimo
