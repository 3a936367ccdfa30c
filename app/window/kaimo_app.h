// The application: loads the players' settings, runs the main window and
// writes the settings back when the window is gone.
#pragma once

#include <QApplication>

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
  PlayerSettings settings_;
};

}  // namespace kaimo
