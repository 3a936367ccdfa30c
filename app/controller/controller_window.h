// What the game controller needs of its window. WindowDialogs implements
// it; tests replace it with a recorder. Called on the window thread only.
// Every text comes in both languages (a Wording, app/texts/text.h): the
// window shows the one the user chose.
#pragma once

#include <string>

#include "app/texts/text.h"

namespace kaimo {

// Status bar panes the controller writes to.
constexpr int kProgressPane = 0;
constexpr int kBlackPane = 1;
constexpr int kWhitePane = 2;

// What the user is asked to pick a file for: a game record to open or save,
// or the picture of the board to save.
enum class RecordFileUse { Open, Save, BoardPicture };

// The answers to a question with Yes, No and Cancel buttons.
enum class Answer { Yes, No, Cancel };

// What happens in a game that the window may mark with a sound.
enum class GameEvent { Move, Pass, GameOver };

class ControllerWindow {
 public:
  virtual ~ControllerWindow() = default;
  // Pane 0 (progress and state), 1 (black) or 2 (white); UTF-8.
  virtual void setPaneText(int pane, const texts::Wording& text) = 0;
  // A modal message with an OK button; returns when the user has closed it.
  virtual void showMessage(const texts::Wording& text) = 0;
  // A notice that needs no answer (a pass): a message like showMessage,
  // unless the user chose notices that do not hold the game up.
  virtual void showNotice(const texts::Wording& text) = 0;
  // A modal question with Yes and No buttons; true for Yes.
  virtual bool askYesNo(const texts::Wording& question) = 0;
  // A modal question with Yes, No and Cancel buttons; closing it is Cancel.
  virtual Answer askYesNoCancel(const texts::Wording& question) = 0;
  // The platform's file dialog for a game record: the chosen path (in the
  // file system's encoding), or an empty string when the user cancelled.
  virtual std::string chooseRecordFile(RecordFileUse use) = 0;
  // The game state changed: draw it again and refresh the commands.
  virtual void requestRepaint() = 0;
  // Only what the column beside the board shows changed (the review's
  // values, the computer's thinking); the board is as it was.
  virtual void studyChanged() = 0;
  // A move was played in the game (not a step through it), a side passed,
  // or the game ended: told before any message about it.
  virtual void gameEvent(GameEvent /*event*/) {}
};

}  // namespace kaimo
