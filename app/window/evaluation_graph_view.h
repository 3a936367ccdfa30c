// The evaluation graph below the move list: one point per position of the
// game, black's advantage upwards, the position on the board marked by a
// vertical line, exact values as red dots. A click asks for the position
// nearest to it; the tooltip names the position under the pointer and its value.
#pragma once

#include <QWidget>

#include <vector>

#include "app/review/game_review.h"
#include "app/texts/language.h"

namespace kaimo {

// Where the graph puts a position and a value inside a widget of `size`.
class GraphScale {
 public:
  GraphScale(const QSize& size, int positions, int largestValue);
  int xOf(int position) const;
  int yOf(int value) const;
  // The position nearest to x, within 0..positions-1.
  int positionAt(int x) const;
  const QRect& plot() const { return plot_; }
  int rangeDiscs() const { return rangeDiscs_; }

 private:
  QRect plot_;
  int positions_;
  int span_;        // positions the width stands for: a whole game at least
  int rangeDiscs_;  // the value at the top edge, in discs
};

class EvaluationGraphView : public QWidget {
  Q_OBJECT

 public:
  explicit EvaluationGraphView(QWidget* parent = nullptr);
  // Its tool tip in `language`.
  void setLanguage(Language language);

  void setPoints(std::vector<GraphPoint> points, int cursor);
  const std::vector<GraphPoint>& points() const { return points_; }
  // What the tooltip calls each position (the move list's rows).
  void setPositionNames(std::vector<QString> names) { names_ = std::move(names); }
  GraphScale scale() const;
  // The tooltip at `x`: the nearest position's name and value.
  QString pointText(int x) const;

  QSize sizeHint() const override { return {260, 170}; }
  QSize minimumSizeHint() const override { return {160, 110}; }

 signals:
  void positionChosen(int position);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::vector<GraphPoint> points_;
  std::vector<QString> names_;
  Language language_ = Language::Japanese;
  int cursor_ = 0;
};

}  // namespace kaimo
