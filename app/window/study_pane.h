// The column beside the board: the move list, what the computer thinks
// while it thinks, the evaluation graph of the review and, after a game, the
// summary of each side's costliest moves. It follows the controller after
// every change of the game and asks it for a position when the list or the
// graph is clicked.
#pragma once

#include <QLabel>
#include <QWidget>

#include "app/controller/game_controller.h"
#include "app/window/evaluation_graph_view.h"
#include "app/window/move_list_view.h"

namespace kaimo {

class StudyPane : public QWidget {
  Q_OBJECT

 public:
  StudyPane(GameController& controller, QWidget* parent = nullptr);

  MoveListView* moveList() const { return list_; }
  EvaluationGraphView* graph() const { return graph_; }
  QLabel* summary() const { return summary_; }
  QLabel* thinking() const { return thinking_; }

  // After any change of the game.
  void refresh();
  // After a change of the review or of the computer's thinking only.
  void refreshStudy();
  // Says everything again in `language`.
  void setLanguage(Language language);

 private:
  void choosePosition(int position);

  GameController& controller_;
  Language language_ = Language::Japanese;
  MoveListView* list_;
  QLabel* thinking_;
  EvaluationGraphView* graph_;
  QLabel* summary_;
};

}  // namespace kaimo
