// The board view: draws the game of the controller it is given and forwards
// the mouse to it (a human's move, board editing). It owns nothing of the
// game.
#pragma once

#include <QVariantAnimation>
#include <QWidget>

#include <memory>
#include <optional>

#include "app/controller/game_controller.h"
#include "app/window/artwork.h"
#include "app/window/board_geometry.h"
#include "app/window/move_animation.h"

namespace kaimo {

class CKaimoView : public QWidget {
  Q_OBJECT

 public:
  explicit CKaimoView(GameController& controller, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  // The panel's counts in `language`.
  void setLanguage(Language language);

  // After every change of the game: a move just played onto the position
  // shown (by anyone, or a step forward) is drawn happening, when moves are
  // animated. The game never waits for it: a new position ends it, and so
  // does a click.
  void followGame();
  void setAnimated(bool on);
  // Whether a human to move sees the squares where it can play (editing
  // marks every square either way).
  void setLegalMovesShown(bool on);
  bool isAnimating() const { return animation_.has_value(); }
  // Ends the move being drawn: its last picture at once.
  void finishAnimation();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // The second press of a double-click: an edit while editing, else nothing.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Drawn for the screen's density and the board's scale in `layout`.
  const Artwork& artwork(const geometry::ViewLayout& layout);
  int targetAt(const QMouseEvent& event) const;

  GameController& controller_;
  std::unique_ptr<Artwork> artwork_;
  // The position drawn last, to tell a move played onto it.
  Board shownBoard_;
  bool animated_ = true;
  bool legalMovesShown_ = true;
  std::optional<MoveAnimation> animation_;
  // Runs from 0 to 1 over the animation, repainting as it goes.
  QVariantAnimation clock_;
  Language language_ = Language::Japanese;
};

}  // namespace kaimo
