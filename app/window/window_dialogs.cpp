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

void WindowDialogs::setPaneText(int pane, const std::string& text) {
  emit paneTextChanged(pane, QString::fromStdString(text));
}

void WindowDialogs::showMessage(const std::string& text) {
  const QString message = QString::fromStdString(text);
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
void WindowDialogs::showNotice(const std::string& text) {
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
  notice_->setText(QString::fromStdString(text));
  notice_->show();
  notice_->raise();
}

bool WindowDialogs::askYesNo(const std::string& question) {
  const QString text = QString::fromStdString(question);
  if (questionHandler_) return questionHandler_(text);
  QMessageBox box(owner_);
  prepareBox(box, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

Answer WindowDialogs::askYesNoCancel(const std::string& question) {
  const QString text = QString::fromStdString(question);
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
  const QString path = fileChooser_ ? fileChooser_(use) : chooseRecordPath(owner_, use);
  return QFile::encodeName(path).toStdString();
}

}  // namespace kaimo
