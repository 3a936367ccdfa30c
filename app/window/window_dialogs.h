// The controller's window as Qt shows it: message boxes, questions and file
// dialogs on the main window, and signals for the rest (pane texts, a
// changed game, a changed study column), which the main window turns into
// its panes, the board's repaint and its commands' states. Tests replace
// the boxes and dialogs with handlers. Every text is shown in the window's
// language; the panes and an open pass notice change with it.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>

#include "app/controller/controller_window.h"

class QWidget;

namespace kaimo {

class WindowDialogs : public QObject, public ControllerWindow {
  Q_OBJECT

 public:
  // The boxes and dialogs are modal on `owner`.
  explicit WindowDialogs(QWidget* owner);

  // Messages are shown in a modal box unless a handler takes them (tests).
  using MessageHandler = std::function<void(const QString&)>;
  void setMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }
  // Likewise the Yes/No question, the Yes/No/Cancel question and the game
  // record file dialogs.
  using QuestionHandler = std::function<bool(const QString&)>;
  void setQuestionHandler(QuestionHandler handler) { questionHandler_ = std::move(handler); }
  using ChoiceHandler = std::function<Answer(const QString&)>;
  void setChoiceHandler(ChoiceHandler handler) { choiceHandler_ = std::move(handler); }
  using FileChooser = std::function<QString(RecordFileUse)>;
  void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

  // Pass notices in a box that holds nothing up, instead of a modal one.
  void setModelessNotices(bool on) { modelessNotices_ = on; }
  bool modelessNotices() const { return modelessNotices_; }

  // The language of every text from now on; the panes and an open pass
  // notice say theirs again in it.
  void setLanguage(Language language);
  Language language() const { return language_; }

  // ControllerWindow
  void setPaneText(int pane, const texts::Wording& text) override;
  void showMessage(const texts::Wording& text) override;
  void showNotice(const texts::Wording& text) override;
  bool askYesNo(const texts::Wording& question) override;
  Answer askYesNoCancel(const texts::Wording& question) override;
  std::string chooseRecordFile(RecordFileUse use) override;
  void requestRepaint() override { emit stateChanged(); }
  void studyChanged() override { emit studyContentChanged(); }
  void gameEvent(GameEvent event) override { emit gameEventHappened(event); }

 signals:
  void paneTextChanged(int pane, const QString& text);
  // The game state changed: the board is drawn again, the commands follow.
  void stateChanged();
  // Only the review or the computer's thinking changed.
  void studyContentChanged();
  // A move, a pass or the end of the game, for its sound.
  void gameEventHappened(kaimo::GameEvent event);

 private:
  QString shown(const texts::Wording& text) const { return QString::fromStdString(text.in(language_)); }

  QWidget* owner_;
  Language language_ = Language::Japanese;
  std::array<texts::Wording, 3> paneTexts_;
  texts::Wording noticeText_;
  MessageHandler messageHandler_;
  QuestionHandler questionHandler_;
  ChoiceHandler choiceHandler_;
  FileChooser fileChooser_;
  bool modelessNotices_ = false;
  QPointer<QMessageBox> notice_;  // the modeless notice box, made at its first use
};

}  // namespace kaimo
