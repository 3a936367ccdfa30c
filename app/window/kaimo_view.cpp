#include "app/window/kaimo_view.h"

#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

#include "app/window/board_geometry.h"
#include "app/window/board_painter.h"

namespace kaimo {

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
                             controller_.squareValues()};
  paintBoardView(p, rect(), picture, artwork());
}

void CKaimoView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const QPoint at = event->position().toPoint();
  const int square = geometry::squareFromPoint(at.x(), at.y());
  if (square >= 0) controller_.clickSquare(square);
}

}  // namespace kaimo
