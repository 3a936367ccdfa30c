// Keeps the game on screen in the state folder while the window runs (see
// app/controller/kept_game.h): at the start it offers the game a run that
// did not end cleanly left there, then it writes the game after every change
// while the game has unsaved work, and removes the file once it has none
// (saved, cleared) and when the window closes. A lock beside the file keeps
// a second window from offering, or writing over, the game of one that runs.
#pragma once

#include <QLockFile>

#include <memory>
#include <string>

#include "app/controller/game_controller.h"

namespace kaimo {

class GameKeeper {
 public:
  GameKeeper(GameController& controller, ControllerWindow& window) : controller_(controller), window_(window) {}
  // A clean end: the kept game goes.
  ~GameKeeper();
  GameKeeper(const GameKeeper&) = delete;
  GameKeeper& operator=(const GameKeeper&) = delete;

  // Starts keeping the game in `path`: asks whether to restore a game kept
  // there, or says that it is damaged and moves it aside. False, and
  // nothing kept, when another Kaimo keeps its game there.
  bool start(const std::string& path);
  // After every change of the game or the players.
  void update();
  bool keeping() const { return lock_ != nullptr; }

 private:
  void offerKeptGame();
  void remove();

  GameController& controller_;
  ControllerWindow& window_;
  std::string path_;
  std::unique_ptr<QLockFile> lock_;
  std::string written_;  // the text in the file; empty while there is none
};

}  // namespace kaimo
