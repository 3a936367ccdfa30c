#include "app/window/window_dialogs.h"

#include <QFile>
#include <QGridLayout>
#include <QWidget>

#include "app/window/record_file_dialog.h"

namespace kaimo {
namespace {

// Wide enough that a box's title and a short text read in full.
constexpr int kMessageMinWidth = 320;

// A box the way every message of the window looks. The spacer comes last:
// setting the icon or the buttons builds the box's layout anew.
void prepareBox(QMessageBox& box, const QString& text, QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
  box.setWindowTitle(QStringLiteral("Kaimo"));
  box.setText(text);
  box.setIcon(icon);
  box.setStandardButtons(buttons);
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid != nullptr) {
    grid->addItem(new QSpacerItem(kMessageMinWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                  1, grid->columnCount());
  }
}

}  // namespace

WindowDialogs::WindowDialogs(QWidget* owner) : owner_(owner) {}

void WindowDialogs::setLanguage(Language language) {
  language_ = language;
  for (int pane = 0; pane < static_cast<int>(paneTexts_.size()); ++pane) emit paneTextChanged(pane, shown(paneTexts_[pane]));
  if (notice_) notice_->setText(shown(noticeText_));
}

void WindowDialogs::setPaneText(int pane, const texts::Wording& text) {
  if (pane < 0 || pane >= static_cast<int>(paneTexts_.size())) return;
  paneTexts_[pane] = text;
  emit paneTextChanged(pane, shown(text));
}

void WindowDialogs::showMessage(const texts::Wording& text) {
  const QString message = shown(text);
  if (messageHandler_) {
    messageHandler_(message);
    return;
  }
  QMessageBox box(owner_);
  prepareBox(box, message, QMessageBox::Information, QMessageBox::Ok);
  box.exec();
}

// A modeless notice replaces the one before: there is one box, raised with
// each new text, and the game goes on while it is open.
void WindowDialogs::showNotice(const texts::Wording& text) {
  if (!modelessNotices_ || messageHandler_) {
    showMessage(text);
    return;
  }
  if (!notice_) {
    notice_ = new QMessageBox(owner_);
    notice_->setObjectName(QStringLiteral("passNotice"));
    notice_->setWindowModality(Qt::NonModal);
    notice_->setAttribute(Qt::WA_DeleteOnClose, false);
    prepareBox(*notice_, QString(), QMessageBox::Information, QMessageBox::Ok);
  }
  noticeText_ = text;
  notice_->setText(shown(text));
  notice_->show();
  notice_->raise();
}

bool WindowDialogs::askYesNo(const texts::Wording& question) {
  const QString text = shown(question);
  if (questionHandler_) return questionHandler_(text);
  QMessageBox box(owner_);
  prepareBox(box, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

Answer WindowDialogs::askYesNoCancel(const texts::Wording& question) {
  const QString text = shown(question);
  if (choiceHandler_) return choiceHandler_(text);
  QMessageBox box(owner_);
  prepareBox(box, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

std::string WindowDialogs::chooseRecordFile(RecordFileUse use) {
  const QString path = fileChooser_ ? fileChooser_(use) : chooseRecordPath(owner_, use, language_);
  return QFile::encodeName(path).toStdString();
}

}  // namespace kaimo
