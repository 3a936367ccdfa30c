#include "app/window/kaimo_view.h"

#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

#include "app/window/board_geometry.h"
#include "app/window/board_painter.h"
#include "app/window/record_file_dialog.h"

namespace kaimo {

static_assert(geometry::kBlackIndicator == kEditBlackIndicator && geometry::kWhiteIndicator == kEditWhiteIndicator &&
                  geometry::kNowhere == kEditNowhere,
              "the editing commands take the view's point mapping as it is");

namespace {

int targetAt(const QMouseEvent& event) {
  const QPoint at = event.position().toPoint();
  return geometry::squareFromPoint(at.x(), at.y());
}

}  // namespace

CKaimoView::CKaimoView(PlayerSettings& settings, QWidget* parent)
    : QWidget(parent), controller_(settings, *this), tick_(this) {
  // Every pixel is painted each time: no erase first, so no flicker.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(geometry::kViewWidth, geometry::kViewHeight);
  tick_.setInterval(kTickMilliseconds);
  connect(&tick_, &QTimer::timeout, this, [this] { controller_.onTimer(); });
}

// The controller's destructor stops a running worker before anything goes.
CKaimoView::~CKaimoView() { tick_.stop(); }

QSize CKaimoView::sizeHint() const { return {geometry::kViewWidth, geometry::kViewHeight}; }

void CKaimoView::setPaneText(int pane, const std::string& text) {
  emit paneTextChanged(pane, QString::fromStdString(text));
}

void CKaimoView::showMessage(const std::string& text) {
  const QString message = QString::fromStdString(text);
  if (messageHandler_) {
    messageHandler_(message);
  } else {
    QMessageBox::information(window(), QStringLiteral("Kaimo"), message);
  }
}

bool CKaimoView::askYesNo(const std::string& question) {
  const QString text = QString::fromStdString(question);
  if (questionHandler_) return questionHandler_(text);
  return QMessageBox::question(window(), QStringLiteral("Kaimo"), text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

std::string CKaimoView::chooseRecordFile(RecordFileUse use) {
  const QString path = fileChooser_ ? fileChooser_(use) : chooseRecordPath(window(), use);
  return QFile::encodeName(path).toStdString();
}

void CKaimoView::requestRepaint() {
  update();
  emit stateChanged();
}

void CKaimoView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!tick_.isActive()) tick_.start();
}

const Artwork& CKaimoView::artwork() {
  // Redrawn when the window moves to a screen of another density.
  if (!artwork_ || artwork_->devicePixelRatio() != devicePixelRatioF()) {
    artwork_ = std::make_unique<Artwork>(devicePixelRatioF());
  }
  return *artwork_;
}

void CKaimoView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const MoveMarks marks = controller_.highlightMarks();
  const BoardPicture picture{controller_.board(), controller_.side(), marks, controller_.lastMove(),
                             controller_.squareValues(), controller_.hintMove()};
  paintBoardView(p, rect(), picture, artwork());
}

void CKaimoView::mousePressEvent(QMouseEvent* event) {
  GameController& game = controller_;
  if (game.mode() == ViewMode::Editing && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
    if (event->button() == Qt::LeftButton) {
      game.leftEdit(targetAt(*event));
    } else {
      game.rightEdit(targetAt(*event));
    }
    return;
  }
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const int square = targetAt(*event);
  if (square >= 0) game.clickSquare(square);
}

void CKaimoView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void CKaimoView::mouseMoveEvent(QMouseEvent* event) {
  if (controller_.mode() != ViewMode::Editing) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  if (event->buttons() & Qt::LeftButton) {
    controller_.leftEdit(targetAt(*event));
  } else if (event->buttons() == Qt::RightButton) {
    controller_.rightEdit(targetAt(*event));
  }
}

void CKaimoView::mouseReleaseEvent(QMouseEvent* event) {
  controller_.endEditStroke();
  QWidget::mouseReleaseEvent(event);
}

}  // namespace kaimo
