// The board view: owns the game controller, draws its state, turns clicks
// into squares and drives the controller with the 100 ms tick.
#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "app/controller/controller_window.h"
#include "app/controller/game_controller.h"
#include "app/window/artwork.h"

namespace kaimo {

// The controller's tick.
constexpr int kTickMilliseconds = 100;

class CKaimoView : public QWidget, public ControllerWindow {
  Q_OBJECT

 public:
  explicit CKaimoView(PlayerSettings& settings, QWidget* parent = nullptr);
  ~CKaimoView() override;

  GameController& controller() { return controller_; }

  // Messages are shown in a modal box unless a handler takes them (tests).
  using MessageHandler = std::function<void(const QString&)>;
  void setMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }

  QSize sizeHint() const override;

  // ControllerWindow
  void setPaneText(int pane, const std::string& text) override;
  void showMessage(const std::string& text) override;
  void requestRepaint() override;

 signals:
  void paneTextChanged(int pane, const QString& text);
  // The game state changed; the commands' enabled states may follow.
  void stateChanged();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  const Artwork& artwork();

  GameController controller_;
  QTimer tick_;
  std::unique_ptr<Artwork> artwork_;
  MessageHandler messageHandler_;
};

}  // namespace kaimo
