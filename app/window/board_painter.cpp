#include "app/window/board_painter.h"

#include <QFont>

#include "app/window/board_geometry.h"
#include "engine/eval/score.h"

namespace kaimo {
namespace {

using namespace geometry;

constexpr const char* kCaption = "KaimoMaster";
constexpr int kPanelTextInset = 6;

// Fixed pitch, so "%2d" lines the counts up; a CJK face that has 石 at twice
// the width of a digit comes first.
QFont panelFont() {
  QFont font;
  font.setFamilies({"Noto Sans Mono CJK JP", "Noto Sans Mono", "DejaVu Sans Mono", "monospace"});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(26);
  font.setWeight(QFont::Normal);
  return font;
}

QFont valueFont() {
  QFont font;
  font.setFamilies({"DejaVu Sans Mono", "Noto Sans Mono", "monospace"});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(13);
  font.setBold(true);
  return font;
}

void paintSquares(QPainter& p, const BoardPicture& picture, const Artwork& art) {
  for (int square = 0; square < kSquareCount; ++square) {
    const int value = picture.board[square];
    if (value < kBlack || value > kWall) continue;  // nothing sensible to draw
    const QPixmap& cell = art.cell(picture.marks[square] ? 1 : 0, spriteRow(value, square == picture.lastMove));
    p.drawPixmap(squareLeft(square), squareTop(square), cell);
  }
}

// Black on white, so the numbers read on any square.
void paintSquareValues(QPainter& p, const BoardPicture& picture) {
  p.setFont(valueFont());
  p.setPen(Qt::black);
  for (int square = 0; square < kSquareCount; ++square) {
    if (picture.values[square] == SCORE_NONE) continue;
    const QString text = squareValueText(picture.values[square]);
    const QRect room(squareLeft(square) + kValueOffsetX, squareTop(square) + kValueOffsetY, kCell - kValueOffsetX,
                     kCell - kValueOffsetY);
    const QRect bounds = p.boundingRect(room, Qt::AlignLeft | Qt::AlignTop, text);
    const bool best = square == picture.emphasized;
    p.fillRect(bounds, best ? palette::kFrameYellow : QColor(Qt::white));
    p.setPen(best ? Qt::red : Qt::black);
    p.drawText(room, Qt::AlignLeft | Qt::AlignTop, text);
  }
}

void paintPanel(QPainter& p, const BoardPicture& picture, const Artwork& art) {
  DiscCounts counts;
  boardCount(picture.board, counts);
  p.drawPixmap(kIndicatorX, kBlackIndicatorY, art.cell(0, spriteRow(kBlack, picture.side == kBlack)));
  p.drawPixmap(kIndicatorX, kWhiteIndicatorY, art.cell(0, spriteRow(kWhite, picture.side == kWhite)));
  p.setFont(panelFont());
  p.setPen(palette::kPanelText);
  const int width = kPanelTextRight - kPanelTextLeft;
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
  // A little air between an indicator and its count.
  auto textRect = [width](int top) { return QRect(kPanelTextLeft, top, width, kPanelTextHeight).adjusted(kPanelTextInset, 0, 0, 0); };
  p.drawText(textRect(kBlackCountTop), flags, discCountText(counts[0]));
  p.drawText(textRect(kWhiteCountTop), flags, discCountText(counts[1]));
  p.drawText(textRect(kCaptionTop), flags, QString::fromLatin1(kCaption));
}

}  // namespace

QString squareValueText(int value) { return QString::asprintf("%+3d", value / SCORE_PER_DISC); }

QString discCountText(int discs) { return QString::asprintf("%2d", discs) + QString::fromUtf8("石"); }

void paintBoardView(QPainter& p, const QRect& area, const BoardPicture& picture, const Artwork& art) {
  p.drawTiledPixmap(area, art.tile());
  paintSquares(p, picture, art);
  paintSquareValues(p, picture);
  paintPanel(p, picture, art);
}

}  // namespace kaimo
