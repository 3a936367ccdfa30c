#include "app/window/evaluation_graph_view.h"

#include <QHelpEvent>
#include <QMouseEvent>

#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include "app/window/window_texts.h"

#include <algorithm>
#include <cstdlib>

#include "app/controller/game_texts.h"
#include "engine/eval/score.h"

namespace kaimo {
namespace {

// Room for the value labels on the left, and a little air elsewhere.
constexpr int kLeftMargin = 34;
constexpr int kMargin = 8;
// A game on this board has at most 96 moves: the width is kept for a whole
// game, so early points do not jump about as the game goes on.
constexpr int kWholeGameSpan = 96;
// The value range grows in steps of this many discs, up to a wipe-out.
constexpr int kRangeStep = 10;
constexpr int kLargestRange = SCORE_WIPEOUT / SCORE_PER_DISC;

const QColor kCurveColour{0x20, 0x40, 0x90};
const QColor kBlackAhead{0x30, 0x30, 0x30, 0x50};
const QColor kWhiteAhead{0xc0, 0xc0, 0xc0, 0x70};
const QColor kExactColour{0xd0, 0x20, 0x20};
const QColor kCursorColour{0xff, 0x90, 0x00};

int largestMagnitude(const std::vector<GraphPoint>& points) {
  int largest = 0;
  for (const GraphPoint& p : points) {
    if (p.value != SCORE_NONE) largest = std::max(largest, std::abs(p.value));
  }
  return largest;
}

}  // namespace

GraphScale::GraphScale(const QSize& size, int positions, int largestValue)
    : plot_(kLeftMargin, kMargin, std::max(1, size.width() - kLeftMargin - kMargin),
            std::max(1, size.height() - 2 * kMargin)),
      positions_(std::max(1, positions)),
      span_(std::max(kWholeGameSpan, positions - 1)) {
  const int discs = (largestValue + SCORE_PER_DISC - 1) / SCORE_PER_DISC;
  rangeDiscs_ = std::clamp((discs + kRangeStep - 1) / kRangeStep * kRangeStep, kRangeStep, kLargestRange);
}

int GraphScale::xOf(int position) const { return plot_.left() + position * (plot_.width() - 1) / span_; }

int GraphScale::yOf(int value) const {
  const int range = rangeDiscs_ * SCORE_PER_DISC;
  const int clamped = std::clamp(value, -range, range);
  const double share = (range - clamped) / (2.0 * range);  // 0 at the top
  return plot_.top() + static_cast<int>(share * (plot_.height() - 1) + 0.5);
}

int GraphScale::positionAt(int x) const {
  const double exact = (x - plot_.left()) * static_cast<double>(span_) / std::max(1, plot_.width() - 1);
  return std::clamp(static_cast<int>(exact + 0.5), 0, positions_ - 1);
}

EvaluationGraphView::EvaluationGraphView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("evaluationGraph"));
  setLanguage(Language::Japanese);
}

void EvaluationGraphView::setLanguage(Language language) {
  language_ = language;
  setToolTip(QString::fromUtf8(texts::kGraphTip.in(language)));
}

void EvaluationGraphView::setPoints(std::vector<GraphPoint> points, int cursor) {
  auto samePoint = [](const GraphPoint& a, const GraphPoint& b) { return a.value == b.value && a.kind == b.kind; };
  const bool same =
      cursor == cursor_ && std::equal(points.begin(), points.end(), points_.begin(), points_.end(), samePoint);
  if (same) return;
  points_ = std::move(points);
  cursor_ = cursor;
  update();
}

GraphScale EvaluationGraphView::scale() const {
  return GraphScale(size(), static_cast<int>(points_.size()), largestMagnitude(points_));
}

QString EvaluationGraphView::pointText(int x) const {
  if (points_.empty()) return toolTip();
  const int position = scale().positionAt(x);
  const auto at = static_cast<std::size_t>(position);
  const QString name = at < names_.size() ? names_[at].trimmed() : QString::number(position);
  const GraphPoint& point = points_[at];
  if (point.value == SCORE_NONE) return name;
  QString value = QString::fromStdString(texts::valueText(point.value, texts::ValueSource(true)).in(language_));
  if (point.kind == ReviewValueKind::Exact)
    value += QStringLiteral(" ") + QString::fromUtf8(texts::kExactRead.in(language_));
  return name + QStringLiteral("　") + value;
}

// The tooltip follows the pointer from position to position.
bool EvaluationGraphView::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  QToolTip::showText(help->globalPos(), pointText(help->pos().x()), this);
  return true;
}

void EvaluationGraphView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  const GraphScale s = scale();
  const QRect& plot = s.plot();
  const int zero = s.yOf(0);
  p.setPen(QPen(Qt::lightGray, 1, Qt::DotLine));
  for (int value : {s.rangeDiscs() * SCORE_PER_DISC / 2, -s.rangeDiscs() * SCORE_PER_DISC / 2}) {
    p.drawLine(plot.left(), s.yOf(value), plot.right(), s.yOf(value));
  }
  p.setPen(Qt::darkGray);
  p.drawRect(plot.adjusted(0, 0, -1, -1));
  p.drawLine(plot.left(), zero, plot.right(), zero);
  const int labelWidth = kLeftMargin - 4;
  const int flags = Qt::AlignRight | Qt::AlignVCenter;
  p.drawText(QRect(0, plot.top() - 6, labelWidth, 14), flags, QStringLiteral("+%1").arg(s.rangeDiscs()));
  p.drawText(QRect(0, zero - 7, labelWidth, 14), flags, QStringLiteral("0"));
  p.drawText(QRect(0, plot.bottom() - 8, labelWidth, 14), flags, QStringLiteral("-%1").arg(s.rangeDiscs()));

  if (!points_.empty()) {
    p.setPen(QPen(kCursorColour, 2));
    p.drawLine(s.xOf(cursor_), plot.top(), s.xOf(cursor_), plot.bottom());
  }
  p.setRenderHint(QPainter::Antialiasing);
  // The curve runs through the known values; an unknown one breaks it.
  QPainterPath curve;
  bool drawing = false;
  for (std::size_t i = 0; i < points_.size(); ++i) {
    if (points_[i].value == SCORE_NONE) {
      drawing = false;
      continue;
    }
    const QPointF at(s.xOf(static_cast<int>(i)), s.yOf(points_[i].value));
    if (drawing) {
      curve.lineTo(at);
    } else {
      curve.moveTo(at);
    }
    drawing = true;
    const QColor shade = points_[i].value >= 0 ? kBlackAhead : kWhiteAhead;
    p.fillRect(QRectF(at.x() - 1, std::min<qreal>(at.y(), zero), 2, std::abs(at.y() - zero)), shade);
  }
  p.setPen(QPen(kCurveColour, 1.5));
  p.drawPath(curve);
  p.setPen(Qt::NoPen);
  p.setBrush(kExactColour);
  for (std::size_t i = 0; i < points_.size(); ++i) {
    if (points_[i].kind != ReviewValueKind::Exact) continue;
    p.drawEllipse(QPointF(s.xOf(static_cast<int>(i)), s.yOf(points_[i].value)), 2.5, 2.5);
  }
}

void EvaluationGraphView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || points_.empty()) {
    QWidget::mousePressEvent(event);
    return;
  }
  emit positionChosen(scale().positionAt(event->position().toPoint().x()));
}

}  // namespace kaimo
