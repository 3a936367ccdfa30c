// The move list beside the board: the starting position, every move
// numbered in record notation with its colour and, once the review has read
// it, what it lost against the best move; passes on rows of their own, and
// the position on the board highlighted. A click asks for that position.
#pragma once

#include <QListWidget>

#include <vector>

#include "app/controller/move_list.h"
#include "app/review/game_review.h"
#include "app/texts/language.h"

namespace kaimo {

// The text of one row: "開始局面", " 12. ● d5" or "     ○ パス"; the tenth
// row is written 10, as the board labels it.
QString moveRowText(const MoveListRow& row, Language language = Language::Japanese);
// The same with the move's loss in discs after it (" 12. ● d5    -1.69"),
// when `loss` is known (not SCORE_NONE).
QString moveRowText(const MoveListRow& row, Language language, int loss);

class MoveListView : public QListWidget {
  Q_OBJECT

 public:
  explicit MoveListView(QWidget* parent = nullptr);

  // Rebuilds the rows only when the history changed; always moves the highlight.
  void refresh(const History& history, int cursor);
  // The losses the review knows of the history's moves, by their entry.
  void showLosses(const std::vector<MoveReview>& moves);

  const std::vector<MoveListRow>& rows() const { return rows_; }
  // The rows are written again in `language`.
  void setLanguage(Language language);

 signals:
  void positionChosen(int position);

 protected:
  // The column's other parts come and go: the highlighted row stays in view.
  void resizeEvent(QResizeEvent* event) override;

 private:
  QString rowText(const MoveListRow& row) const;

  std::vector<MoveListRow> rows_;
  Language language_ = Language::Japanese;
  std::vector<int> losses_;  // by history entry; SCORE_NONE where not known
};

}  // namespace kaimo
