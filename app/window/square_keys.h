// Playing by keyboard: a square typed anywhere in the main window ("d5",
// "j10"; see SquareTyping for when "j1" is whole) is played like a click on
// it, so only on a human's turn. What has been typed of a square shows in
// the status bar until it ends. Only letters, digits and, while a square is
// being typed, Enter, Backspace and Escape are taken; the arrow keys and
// every command key keep their meaning.
#pragma once

#include <QObject>
#include <QTimer>

#include "app/controller/game_controller.h"
#include "app/controller/square_typing.h"

class QKeyEvent;
class QStatusBar;
class QWidget;

namespace kaimo {

// How long "j1" waits for a 0 before it is played as j1.
constexpr int kTenthRowWaitMilliseconds = 800;

class SquareKeys : public QObject {
  Q_OBJECT

 public:
  // Watches the keys of every widget of `window` (its dialogs excepted).
  SquareKeys(GameController& controller, QWidget& window, QStatusBar& statusBar);

  const SquareTyping& typing() const { return typing_; }
  // What has been typed is said in `language`.
  void setLanguage(Language language);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool takeKey(const QKeyEvent& key);
  void apply(SquareTyping::Outcome outcome);
  void showTyped();

  GameController& controller_;
  QWidget& window_;
  QStatusBar& statusBar_;
  SquareTyping typing_;
  QTimer tenthRowWait_;
  bool showing_ = false;
  Language language_ = Language::Japanese;
};

}  // namespace kaimo
