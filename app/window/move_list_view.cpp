#include "app/window/move_list_view.h"

#include <QFontDatabase>
#include <QSignalBlocker>

#include "app/window/window_texts.h"
#include "engine/board/notation.h"

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
    case MoveRowKind::Pass: return QStringLiteral("     %1 ").arg(discOf(row.colour)) + QString::fromUtf8(texts::kPassRow.in(language));
    case MoveRowKind::Edit: return QStringLiteral("     ") + QString::fromUtf8(texts::kEditRow.in(language));
    case MoveRowKind::Move: break;
  }
  return QStringLiteral("%1. %2 %3")
      .arg(row.number, 3)
      .arg(discOf(row.colour), QString::fromStdString(squareDisplayName(row.square)));
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
    for (const MoveListRow& r : rows_) addItem(moveRowText(r, language_));
  }
  const int current = rowOfPosition(rows_, cursor);
  setCurrentRow(current);
  if (current >= 0) scrollToItem(item(current));
}

void MoveListView::setLanguage(Language language) {
  language_ = language;
  for (int i = 0; i < count() && i < static_cast<int>(rows_.size()); ++i) item(i)->setText(moveRowText(rows_[i], language_));
}

void MoveListView::resizeEvent(QResizeEvent* event) {
  QListWidget::resizeEvent(event);
  if (QListWidgetItem* current = currentItem()) scrollToItem(current);
}

}  // namespace kaimo
