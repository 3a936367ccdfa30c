#include "app/window/move_list_view.h"

#include <QFontDatabase>
#include <QSignalBlocker>

#include "app/window/window_texts.h"
#include "engine/board/notation.h"
#include "engine/eval/score.h"

namespace kaimo {
namespace {

bool sameRows(const std::vector<MoveListRow>& a, const std::vector<MoveListRow>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const MoveListRow& x, const MoveListRow& y) {
    return x.kind == y.kind && x.number == y.number && x.colour == y.colour && x.square == y.square &&
           x.position == y.position;
  });
}

QString discOf(int colour) { return colour == kBlack ? QStringLiteral("●") : QStringLiteral("○"); }

}  // namespace

QString moveRowText(const MoveListRow& row, Language language) {
  switch (row.kind) {
    case MoveRowKind::Start: return QString::fromUtf8(texts::kStartPosition.in(language));
    case MoveRowKind::Pass:
      return QStringLiteral("     %1 ").arg(discOf(row.colour)) + QString::fromUtf8(texts::kPassRow.in(language));
    case MoveRowKind::Edit: return QStringLiteral("     ") + QString::fromUtf8(texts::kEditRow.in(language));
    case MoveRowKind::Move: break;
  }
  return QStringLiteral("%1. %2 %3")
      .arg(row.number, 3)
      .arg(discOf(row.colour), QString::fromStdString(squareDisplayName(row.square)));
}

QString moveRowText(const MoveListRow& row, Language language, int loss) {
  const QString text = moveRowText(row, language);
  if (row.kind != MoveRowKind::Move || loss == SCORE_NONE) return text;
  // Squares take two or three characters: the losses line up after the longest.
  const QString discs = loss == 0 ? QStringLiteral("0.00") : QString::number(-loss / double(SCORE_PER_DISC), 'f', 2);
  return QStringLiteral("%1 %2").arg(text, -10).arg(discs, 7);
}

MoveListView::MoveListView(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("moveList"));
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int r = row(item);
    if (r >= 0 && r < static_cast<int>(rows_.size())) emit positionChosen(rows_[r].position);
  });
}

void MoveListView::refresh(const History& history, int cursor) {
  const QSignalBlocker quiet(this);
  std::vector<MoveListRow> rows = moveListRows(history);
  if (!sameRows(rows, rows_)) {
    rows_ = std::move(rows);
    clear();
    for (const MoveListRow& r : rows_) addItem(rowText(r));
  }
  const int current = rowOfPosition(rows_, cursor);
  setCurrentRow(current);
  if (current >= 0) scrollToItem(item(current));
}

void MoveListView::setLanguage(Language language) {
  language_ = language;
  for (int i = 0; i < count() && i < static_cast<int>(rows_.size()); ++i) item(i)->setText(rowText(rows_[i]));
}

void MoveListView::showLosses(const std::vector<MoveReview>& moves) {
  std::vector<int> losses;
  losses.reserve(moves.size());
  for (const MoveReview& move : moves) losses.push_back(move.known() ? move.loss() : SCORE_NONE);
  if (losses == losses_) return;
  losses_ = std::move(losses);
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const QString text = rowText(rows_[r]);
    QListWidgetItem* row = item(static_cast<int>(r));
    if (row != nullptr && row->text() != text) row->setText(text);
  }
}

QString MoveListView::rowText(const MoveListRow& row) const {
  const auto entry = static_cast<std::size_t>(row.number - 1);
  const bool known = row.kind == MoveRowKind::Move && row.number > 0 && entry < losses_.size();
  return moveRowText(row, language_, known ? losses_[entry] : SCORE_NONE);
}

void MoveListView::resizeEvent(QResizeEvent* event) {
  QListWidget::resizeEvent(event);
  if (QListWidgetItem* current = currentItem()) scrollToItem(current);
}

}  // namespace kaimo
