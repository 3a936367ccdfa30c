// The board view: draws the game of the controller it is given and forwards
// the mouse to it (a human's move, board editing). It owns nothing of the
// game.
#pragma once

#include <QWidget>

#include <memory>

#include "app/controller/game_controller.h"
#include "app/window/artwork.h"
#include "app/window/board_geometry.h"

namespace kaimo {

class CKaimoView : public QWidget {
  Q_OBJECT

 public:
  explicit CKaimoView(GameController& controller, QWidget* parent = nullptr);

  QSize sizeHint() const override;

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
};

}  // namespace kaimo
