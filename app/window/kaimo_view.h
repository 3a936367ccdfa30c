// The board view: owns the game controller, draws its state, turns clicks
// into squares and drives the controller with the 100 ms tick.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "app/controller/controller_window.h"
#include "app/controller/game_controller.h"
#include "app/window/artwork.h"
#include "app/window/board_geometry.h"

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
  // Likewise the Yes/No question and the game record file dialogs.
  using QuestionHandler = std::function<bool(const QString&)>;
  void setQuestionHandler(QuestionHandler handler) { questionHandler_ = std::move(handler); }
  using ChoiceHandler = std::function<Answer(const QString&)>;
  void setChoiceHandler(ChoiceHandler handler) { choiceHandler_ = std::move(handler); }
  using FileChooser = std::function<QString(RecordFileUse)>;
  void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

  QSize sizeHint() const override;

  // Pass notices in a box that holds nothing up, instead of a modal one.
  void setModelessNotices(bool on) { modelessNotices_ = on; }
  bool modelessNotices() const { return modelessNotices_; }

  // ControllerWindow
  void setPaneText(int pane, const std::string& text) override;
  void showMessage(const std::string& text) override;
  void showNotice(const std::string& text) override;
  bool askYesNo(const std::string& question) override;
  Answer askYesNoCancel(const std::string& question) override;
  std::string chooseRecordFile(RecordFileUse use) override;
  void requestRepaint() override;
  void studyChanged() override { emit studyContentChanged(); }

 signals:
  void paneTextChanged(int pane, const QString& text);
  // The game state changed; the commands' enabled states may follow.
  void stateChanged();
  // Only the review or the computer's thinking changed.
  void studyContentChanged();

 protected:
  void showEvent(QShowEvent* event) override;
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

  GameController controller_;
  QTimer tick_;
  std::unique_ptr<Artwork> artwork_;
  MessageHandler messageHandler_;
  QuestionHandler questionHandler_;
  ChoiceHandler choiceHandler_;
  FileChooser fileChooser_;
  bool modelessNotices_ = false;
  QPointer<QMessageBox> notice_;  // the modeless notice box, made at its first use
};

}  // namespace kaimo
