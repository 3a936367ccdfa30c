#include "app/window/study_pane.h"

#include <QVBoxLayout>

#include "app/controller/game_texts.h"

namespace kaimo {
namespace {

// Wide enough for the summary of three moves a side.
constexpr int kPaneWidth = 280;

// A label that says nothing takes no room.
void showText(QLabel& label, const QString& text) {
  if (text != label.text()) label.setText(text);
  label.setVisible(!text.isEmpty());
}

}  // namespace

StudyPane::StudyPane(GameController& controller, QWidget* parent)
    : QWidget(parent),
      controller_(controller),
      list_(new MoveListView(this)),
      thinking_(new QLabel(this)),
      graph_(new EvaluationGraphView(this)),
      summary_(new QLabel(this)) {
  setObjectName(QStringLiteral("studyPane"));
  setFixedWidth(kPaneWidth);
  thinking_->setObjectName(QStringLiteral("thinking"));
  thinking_->setWordWrap(true);
  summary_->setObjectName(QStringLiteral("worstMoves"));
  summary_->setWordWrap(true);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->addWidget(list_, 3);
  column->addWidget(thinking_);
  column->addWidget(graph_, 2);
  column->addWidget(summary_);
  connect(list_, &MoveListView::positionChosen, this, &StudyPane::choosePosition);
  connect(graph_, &EvaluationGraphView::positionChosen, this, &StudyPane::choosePosition);
  refresh();
}

void StudyPane::refresh() {
  list_->refresh(controller_.game().history(), controller_.game().cursor());
  refreshStudy();
}

void StudyPane::refreshStudy() {
  graph_->setPoints(controller_.review().graphPoints(), controller_.game().cursor());
  showText(*thinking_, QString::fromStdString(texts::thinkingText(controller_.computer().thinking()).in(language_)));
  showText(*summary_, QString::fromStdString(controller_.gameSummary().in(language_)));
}

void StudyPane::setLanguage(Language language) {
  language_ = language;
  list_->setLanguage(language);
  graph_->setLanguage(language);
  refresh();
}

// Like the navigation commands, which wait while the analysis runs.
void StudyPane::choosePosition(int position) {
  if (controller_.isBusy()) {
    refresh();
    return;
  }
  controller_.goToPosition(position);
}

}  // namespace kaimo
