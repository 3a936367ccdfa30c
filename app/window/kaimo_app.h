// The application: loads the players' settings, runs the main window and
// writes the settings back when the window is gone. The settings file is the
// one paths::settingsFile names; its folder is made when it is first written.
// Without one (no home folder at all) the defaults serve and nothing is kept.
// A settings file that is there but cannot be used is moved aside first
// (see app/settings/settings_file.h), or, when it is no regular file or
// cannot be moved, left alone and not written; either way the user is told.
#pragma once

#include <QApplication>

#include <filesystem>
#include <optional>
#include <string>

#include "app/settings/player_settings.h"

namespace kaimo {

class CMainFrame;

class CKaimoApp {
 public:
  CKaimoApp(int& argc, char** argv);

  // The window's event loop; returns the exit code.
  int run();

 private:
  void readSettings();
  void saveSettings();
  void keepGame(CMainFrame& frame);

  QApplication application_;
  std::optional<std::filesystem::path> settingsFile_;
  PlayerSettings settings_;
  texts::Wording startMessage_;  // about a settings file that could not be used
  Language language_ = Language::Japanese;  // the window's, for the message at exit
};

}  // namespace kaimo
