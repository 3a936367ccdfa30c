#include "app/window/study_pane.h"

#include <QVBoxLayout>

#include "app/controller/game_texts.h"

namespace kaimo {
namespace {

// Wide enough for the summary of three moves a side.
constexpr int kPaneWidth = 280;
constexpr int kThinkingLines = 4;

// Each position as the move list names it.
std::vector<QString> positionNames(const std::vector<MoveListRow>& rows, int lastIndex, Language language) {
  std::vector<QString> names;
  for (int position = 0; position <= lastIndex; ++position) {
    const int row = rowOfPosition(rows, position);
    names.push_back(row >= 0 ? moveRowText(rows[static_cast<std::size_t>(row)], language) : QString());
  }
  return names;
}

// The summary with each named move a link to the position it made, as its
// row of the move list shows it. The summary's words are the program's own
// and hold no markup.
QString summaryHtml(const GameController& controller, Language language) {
  const std::string text = controller
                               .gameSummary([](const MoveReview& move, const std::string& words) {
                                 return "<a href=\"" + std::to_string(move.entry + 1) + "\">" + words + "</a>";
                               })
                               .in(language);
  return QString::fromStdString(text).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

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
  // As tall as the longest thinking (who and how deep, the value, two lines
  // of the best line) from its first line on, so the column does not jump
  // while the computer thinks.
  thinking_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  thinking_->setFixedHeight(kThinkingLines * thinking_->fontMetrics().lineSpacing() + 2 * thinking_->margin() +
                            2 * thinking_->frameWidth());
  summary_->setObjectName(QStringLiteral("worstMoves"));
  summary_->setWordWrap(true);
  summary_->setTextFormat(Qt::RichText);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->addWidget(list_, 3);
  column->addWidget(thinking_);
  column->addWidget(graph_, 2);
  column->addWidget(summary_);
  connect(list_, &MoveListView::positionChosen, this, &StudyPane::choosePosition);
  connect(graph_, &EvaluationGraphView::positionChosen, this, &StudyPane::choosePosition);
  connect(summary_, &QLabel::linkActivated, this, [this](const QString& link) { choosePosition(link.toInt()); });
  refresh();
}

void StudyPane::refresh() {
  list_->refresh(controller_.game().history(), controller_.game().cursor());
  refreshStudy();
}

void StudyPane::refreshStudy() {
  list_->showLosses(controller_.review().moves());
  graph_->setPoints(controller_.review().graphPoints(), controller_.game().cursor());
  graph_->setPositionNames(positionNames(list_->rows(), controller_.game().lastIndex(), language_));
  showText(*thinking_, QString::fromStdString(texts::thinkingText(controller_.computer().thinking()).in(language_)));
  showText(*summary_, summaryHtml(controller_, language_));
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
