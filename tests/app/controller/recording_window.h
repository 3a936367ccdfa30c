// A ControllerWindow that records what the controller shows (in Japanese;
// the English of each text is the catalogue's), and the test helpers that
// drive a controller with real worker threads.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/controller/controller_window.h"
#include "app/controller/game_controller.h"
#include "app/settings/player_settings.h"

namespace kaimo::testing {

class RecordingWindow : public ControllerWindow {
 public:
  void setPaneText(int pane, const texts::Wording& text) override {
    noteThread();
    panes[pane] = text.japanese;
    paneLog[pane].push_back(text.japanese);
  }
  void showMessage(const texts::Wording& text) override {
    noteThread();
    messages.push_back(text.japanese);
    if (whileMessageIsOpen) whileMessageIsOpen();
  }
  void showNotice(const texts::Wording& text) override {
    noteThread();
    ++notices;
    showMessage(text);
  }
  bool askYesNo(const texts::Wording& question) override {
    noteThread();
    questions.push_back(question.japanese);
    return answerYes;
  }
  Answer askYesNoCancel(const texts::Wording& question) override {
    noteThread();
    questions.push_back(question.japanese);
    return answer;
  }
  std::string chooseRecordFile(RecordFileUse use) override {
    noteThread();
    fileDialogs.push_back(use);
    return chosenFile;
  }
  void requestRepaint() override {
    noteThread();
    ++repaints;
  }
  void studyChanged() override {
    noteThread();
    ++studyChanges;
  }
  void gameEvent(GameEvent event) override {
    noteThread();
    events.push_back(event);
  }

  bool paneShowed(int pane, const std::string& text) const {
    for (const auto& shown : paneLog[pane]) {
      if (shown == text) return true;
    }
    return false;
  }

  std::array<std::string, 3> panes;
  std::array<std::vector<std::string>, 3> paneLog;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  bool answerYes = true;
  Answer answer = Answer::No;
  // What the file dialog "returns"; empty is a cancel.
  std::string chosenFile;
  std::vector<RecordFileUse> fileDialogs;
  int repaints = 0;
  int studyChanges = 0;
  std::vector<GameEvent> events;
  // Of the messages, those that came as notices (passes).
  int notices = 0;
  // Runs while a message is "open", as the window's event loop would run timers.
  std::function<void()> whileMessageIsOpen;
  // Calls that came from a thread other than the one that made the window.
  std::atomic<int> foreignCalls{0};

 private:
  void noteThread() {
    if (std::this_thread::get_id() != owner_) ++foreignCalls;
  }
  std::thread::id owner_ = std::this_thread::get_id();
};

// Routines and depths small enough that a whole game takes a moment.
inline PlayerSettings quickSettings(int blackRoutine, int whiteRoutine, int normalDepth = 2, int exactDepth = 4) {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = blackRoutine;
  s.white.routine = whiteRoutine;
  s.black.normalDepth = s.white.normalDepth = normalDepth;
  s.black.exactDepth = s.white.exactDepth = exactDepth;
  return s;
}

// Ticks the controller, as the window's timer would, until `done` holds.
// False when it does not within the time allowed (generous for sanitizers).
template <typename Done>
bool tickUntil(GameController& controller, Done done, std::chrono::seconds allowed = std::chrono::seconds(60)) {
  const auto deadline = std::chrono::steady_clock::now() + allowed;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    controller.onTimer();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Sets `board` with `side` to move as a one-entry history, the way the game
// record reader does.
inline void setPosition(GameController& controller, const Board& board, int side) {
  controller.clearHistory();
  controller.appendHistory(HistoryEntry{side, -1, board});
  controller.goToPosition(0);
}

}  // namespace kaimo::testing
