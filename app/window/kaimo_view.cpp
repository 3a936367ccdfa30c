#include "app/window/kaimo_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

#include "app/window/board_geometry.h"
#include "app/window/board_painter.h"

namespace kaimo {

static_assert(geometry::kBlackIndicator == kEditBlackIndicator && geometry::kWhiteIndicator == kEditWhiteIndicator &&
                  geometry::kNowhere == kEditNowhere,
              "the editing commands take the view's point mapping as it is");

CKaimoView::CKaimoView(GameController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller), shownBoard_(controller.game().board()) {
  // Every pixel is painted each time: no erase first, so no flicker.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(geometry::kViewWidth, geometry::kViewHeight);
  clock_.setStartValue(0.0);
  clock_.setEndValue(1.0);
  clock_.setDuration(kMoveAnimationMilliseconds);
  connect(&clock_, &QVariantAnimation::valueChanged, this, [this] { update(); });
  connect(&clock_, &QVariantAnimation::finished, this, &CKaimoView::finishAnimation);
}

void CKaimoView::followGame() {
  const Game& game = controller_.game();
  if (game.board() == shownBoard_) return;
  const Board before = std::exchange(shownBoard_, game.board());
  finishAnimation();
  if (!animated_ || game.cursor() == 0) return;
  const HistoryEntry& from = game.history()[game.cursor() - 1];
  if (from.board != before || from.move != game.lastMove()) return;
  animation_ = MoveAnimation::between(before, game.board(), game.lastMove());
  if (animation_) clock_.start();
}

void CKaimoView::setLegalMovesShown(bool on) {
  legalMovesShown_ = on;
  update();
}

void CKaimoView::setAnimated(bool on) {
  animated_ = on;
  if (!on) finishAnimation();
}

void CKaimoView::finishAnimation() {
  if (!animation_) return;
  animation_.reset();
  clock_.stop();
  update();
}

QSize CKaimoView::sizeHint() const { return {geometry::kViewWidth, geometry::kViewHeight}; }

const Artwork& CKaimoView::artwork(const geometry::ViewLayout& layout) {
  // Redrawn when the board's scale changes or the window moves to a screen
  // of another density, so the pictures are copied pixel for pixel.
  const qreal ratio = devicePixelRatioF() * layout.cell / geometry::kCell;
  if (!artwork_ || artwork_->devicePixelRatio() != ratio) artwork_ = std::make_unique<Artwork>(ratio);
  return *artwork_;
}

int CKaimoView::targetAt(const QMouseEvent& event) const {
  const QPoint at = event.position().toPoint();
  return geometry::squareFromPoint(geometry::layoutFor(width(), height()), at.x(), at.y());
}

void CKaimoView::setLanguage(Language language) {
  language_ = language;
  update();
}

void CKaimoView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  MoveMarks marks = controller_.highlightMarks();
  if (!legalMovesShown_ && controller_.mode() != ViewMode::Editing) marks.fill(0);
  const Game& game = controller_.game();
  const StudySession& study = controller_.study();
  PanelPlayers players{};
  const std::int64_t now = controller_.nowMs();
  for (int colour = kBlack; colour <= kWhite; ++colour) {
    players.player[colour] = QString::fromStdString(controller_.playerText(colour).in(language_));
    players.clock[colour] = QString::fromStdString(controller_.clockText(colour).in(language_));
    players.outOfTime[colour] = controller_.clocks().ranOut(colour, now) || controller_.lostOnTime() == colour;
  }
  const BoardPicture picture{game.board(),
                             game.side(),
                             marks,
                             game.lastMove(),
                             study.squareValues(),
                             study.bestSquare(),
                             animation_ ? &*animation_ : nullptr,
                             clock_.currentValue().toDouble(),
                             language_,
                             &players};
  const geometry::ViewLayout layout = geometry::layoutFor(width(), height());
  paintBoardView(p, rect(), layout, picture, artwork(layout));
}

void CKaimoView::mousePressEvent(QMouseEvent* event) {
  finishAnimation();
  const bool editClick = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
  if (controller_.mode() == ViewMode::Editing && editClick) {
    if (event->button() == Qt::LeftButton) {
      controller_.leftEdit(targetAt(*event));
    } else {
      controller_.rightEdit(targetAt(*event));
    }
    return;
  }
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const int square = targetAt(*event);
  if (square >= 0) controller_.clickSquare(square);
}

// Qt delivers a double-click as press, release, double-click, release: this
// event is the second press. While editing it edits like any press, so a
// double-click toggles a square twice; otherwise it is dropped, so a
// double-click on a square plays one move, not an attempt at a second.
void CKaimoView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (controller_.mode() == ViewMode::Editing) {
    mousePressEvent(event);
    return;
  }
  event->accept();
}

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
