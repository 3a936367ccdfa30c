#include "app/window/square_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStatusBar>
#include <QWidget>

#include "app/window/window_texts.h"

namespace kaimo {
namespace {

// Shift may be held for a capital letter; the keypad's digits count.
bool isPlainKey(const QKeyEvent& key) {
  return (key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
}

bool isTypingCharacter(QChar c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

SquareKeys::SquareKeys(GameController& controller, QWidget& window, QStatusBar& statusBar)
    : QObject(&window), controller_(controller), window_(window), statusBar_(statusBar) {
  tenthRowWait_.setSingleShot(true);
  tenthRowWait_.setInterval(kTenthRowWaitMilliseconds);
  connect(&tenthRowWait_, &QTimer::timeout, this, [this] { apply(typing_.finish()); });
  // Before any widget of the window sees the key: the move list would
  // otherwise take letters as a search of its rows.
  qApp->installEventFilter(this);
}

bool SquareKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  if (static_cast<QWidget*>(watched)->window() != &window_) return false;
  return takeKey(*static_cast<QKeyEvent*>(event));
}

bool SquareKeys::takeKey(const QKeyEvent& key) {
  if (!isPlainKey(key)) return false;
  const bool typing = !typing_.text().empty();
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (typing) apply(typing_.finish());
      return typing;
    case Qt::Key_Backspace:
      typing_.erase();
      apply({});
      return typing;
    case Qt::Key_Escape:
      typing_.clear();
      apply({});
      return typing;
    default: break;
  }
  const QString text = key.text();
  if (text.size() != 1 || !isTypingCharacter(text[0])) return false;
  if (!key.isAutoRepeat()) apply(typing_.type(text[0].toLatin1()));
  return true;
}

void SquareKeys::apply(SquareTyping::Outcome outcome) {
  if (typing_.mayBecomeTenth()) {
    tenthRowWait_.start();
  } else {
    tenthRowWait_.stop();
  }
  showTyped();
  if (outcome.square >= 0) controller_.clickSquare(outcome.square);
}

void SquareKeys::setLanguage(Language language) {
  language_ = language;
  showTyped();
}

void SquareKeys::showTyped() {
  if (!typing_.text().empty()) {
    statusBar_.showMessage(QString::fromStdString(texts::format(texts::kTypedSquare, language_, typing_.text().c_str())));
    showing_ = true;
  } else if (showing_) {
    statusBar_.clearMessage();
    showing_ = false;
  }
}

}  // namespace kaimo
