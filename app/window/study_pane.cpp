#include "app/window/study_pane.h"

#include <QVBoxLayout>

#include "app/controller/game_texts.h"

namespace kaimo {
namespace {

// Wide enough for the summary of three moves a side.
constexpr int kPaneWidth = 280;

}  // namespace

StudyPane::StudyPane(GameController& game, QWidget* parent)
    : QWidget(parent), game_(game), list_(new MoveListView(this)), graph_(new EvaluationGraphView(this)),
      summary_(new QLabel(this)) {
  setObjectName(QStringLiteral("studyPane"));
  setFixedWidth(kPaneWidth);
  summary_->setObjectName(QStringLiteral("worstMoves"));
  summary_->setWordWrap(true);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->addWidget(list_, 3);
  column->addWidget(graph_, 2);
  column->addWidget(summary_);
  connect(list_, &MoveListView::positionChosen, this, &StudyPane::choosePosition);
  connect(graph_, &EvaluationGraphView::positionChosen, this, &StudyPane::choosePosition);
  refresh();
}

void StudyPane::refresh() {
  const History& history = game_.history();
  std::vector<GraphPoint> points = game_.graphPoints();
  list_->refresh(history, game_.cursor());
  QString text;
  if (historyEndsGame(history)) {
    text = QString::fromStdString(texts::worstMovesText(kBlack, largestDrops(history, points, kBlack))) +
           QLatin1Char('\n') +
           QString::fromStdString(texts::worstMovesText(kWhite, largestDrops(history, points, kWhite)));
  }
  graph_->setPoints(std::move(points), game_.cursor());
  if (text != summary_->text()) summary_->setText(text);
  summary_->setVisible(!text.isEmpty());
}

// Like the navigation commands, which wait while the analysis or the hint runs.
void StudyPane::choosePosition(int position) {
  if (game_.isBusy()) {
    refresh();
    return;
  }
  game_.goToPosition(position);
}

}  // namespace kaimo
