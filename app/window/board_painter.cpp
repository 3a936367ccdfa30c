#include "app/window/board_painter.h"

#include <QFont>
#include <QFontMetricsF>

#include "app/controller/game_texts.h"
#include "app/window/board_geometry.h"
#include "app/window/window_texts.h"
#include "engine/eval/score.h"

namespace kaimo {
namespace {

using namespace geometry;

constexpr const char* kCaption = "KaimoMaster";
constexpr int kPanelTextInset = 6;
// Room kept between a square's value and the square's sides.
constexpr int kValueMargin = 1;
// Smallest value font tried before a text is drawn as it is.
constexpr int kSmallestValuePixels = 6;
// Coordinates stand this far off the board.
constexpr int kCoordinateGap = 6;

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

QFont playerFont(int pixels) {
  QFont font;
  font.setFamilies({"Noto Sans CJK JP", "Noto Sans", "DejaVu Sans", "sans-serif"});
  font.setPixelSize(pixels);
  return font;
}

QFont coordinateFont() {
  QFont font;
  font.setFamilies({"DejaVu Sans", "Noto Sans", "sans-serif"});
  font.setPixelSize(15);
  font.setBold(true);
  return font;
}

// Columns a..j above the board, rows 1..10 to its left, as moves are written.
void paintCoordinates(QPainter& p) {
  p.setFont(coordinateFont());
  p.setPen(palette::kCoordinateText);
  for (int i = 0; i < kBoardSize; ++i) {
    const QRect above(squareLeft(squareAt(i, 0)), kBoardOrigin - kCoordinateBand, kCell,
                      kCoordinateBand - kCoordinateGap);
    p.drawText(above, Qt::AlignHCenter | Qt::AlignBottom, QString(QChar('a' + i)));
    const QRect left(kBoardOrigin - kCoordinateBand, squareTop(squareAt(0, i)), kCoordinateBand - kCoordinateGap,
                     kCell);
    p.drawText(left, Qt::AlignRight | Qt::AlignVCenter, QString::number(i + 1));
  }
}

// An empty square and the disc of `pose` on it, centred.
void paintDiscInMotion(QPainter& p, int square, const QPixmap& ground, const DiscPose& pose, const Artwork& art) {
  p.drawPixmap(squareLeft(square), squareTop(square), ground);
  if (pose.width <= 0 || pose.height <= 0) return;
  const QRectF cell(squareLeft(square), squareTop(square), kCell, kCell);
  QRectF disc(0, 0, kCell * pose.width, kCell * pose.height);
  disc.moveCenter(cell.center());
  const QPixmap& face = art.disc(pose.colour);
  p.save();
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawPixmap(disc, face, QRectF(face.rect()));
  p.restore();
}

void paintSquares(QPainter& p, const BoardPicture& picture, const Artwork& art) {
  const MoveAnimation* moving =
      picture.animation != nullptr && picture.animation->after() == picture.board ? picture.animation : nullptr;
  for (int square = 0; square < kSquareCount; ++square) {
    const int value = picture.board[square];
    if (value < kBlack || value > kWall) continue;  // nothing sensible to draw
    const int column = picture.marks[square] ? 1 : 0;
    const bool last = square == picture.lastMove;
    if (moving != nullptr && moving->changes(square)) {
      paintDiscInMotion(p, square, art.cell(column, spriteRow(kEmpty, last)), moving->poseAt(square, picture.progress),
                        art);
      continue;
    }
    p.drawPixmap(squareLeft(square), squareTop(square), art.cell(column, spriteRow(value, last)));
  }
}

// Black on white, so the numbers read on any square.
void paintSquareValues(QPainter& p, const BoardPicture& picture) {
  p.setPen(Qt::black);
  for (int square = 0; square < kSquareCount; ++square) {
    if (picture.values[square] == SCORE_NONE) continue;
    const QString text = squareValueText(picture.values[square]);
    p.setFont(valueFontFitting(text));
    const QRectF box = squareValueBox(square, text);
    const bool best = square == picture.emphasized;
    p.fillRect(box, best ? palette::kFrameYellow : QColor(Qt::white));
    p.setPen(best ? Qt::red : Qt::black);
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
  }
}

// "黒 狐 レベル11" over its clock, then the same for white; a mark before
// the side to move.
void paintPlayers(QPainter& p, const BoardPicture& picture) {
  const PanelPlayers& players = *picture.players;
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
  constexpr int width = kPanelTextRight - kPanelTextLeft;
  for (int colour = kBlack; colour <= kWhite; ++colour) {
    const int top = kPlayersTop + colour * kPlayerBlockHeight;
    p.setPen(palette::kPanelText);
    p.setFont(playerFont(16));
    if (colour == picture.side) {
      p.drawText(QRect(kIndicatorX, top, kPanelTextLeft - kIndicatorX, kPlayerLineHeight), Qt::AlignCenter,
                 QString::fromUtf8("▶"));
    }
    const QString name =
        QString::fromUtf8(texts::colourName(colour).in(picture.language)) + QLatin1Char(' ') + players.player[colour];
    p.drawText(QRect(kPanelTextLeft + kPanelTextInset, top, width, kPlayerLineHeight), flags, name);
    p.setFont(playerFont(20));
    if (players.outOfTime[colour]) p.setPen(Qt::red);
    p.drawText(QRect(kPanelTextLeft + kPanelTextInset, top + kPlayerLineHeight, width, kPlayerLineHeight), flags,
               players.clock[colour]);
  }
}

void paintPanel(QPainter& p, const BoardPicture& picture, const Artwork& art) {
  DiscCounts counts;
  boardCount(picture.board, counts);
  p.drawPixmap(kIndicatorX, kBlackIndicatorY, art.cell(0, spriteRow(kBlack, picture.side == kBlack)));
  p.drawPixmap(kIndicatorX, kWhiteIndicatorY, art.cell(0, spriteRow(kWhite, picture.side == kWhite)));
  p.setFont(panelFont());
  p.setPen(palette::kPanelText);
  constexpr int width = kPanelTextRight - kPanelTextLeft;
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
  // A little air between an indicator and its count.
  auto textRect = [](int top) {
    return QRect(kPanelTextLeft, top, width, kPanelTextHeight).adjusted(kPanelTextInset, 0, 0, 0);
  };
  p.drawText(textRect(kBlackCountTop), flags, discCountText(counts[0], picture.language));
  p.drawText(textRect(kWhiteCountTop), flags, discCountText(counts[1], picture.language));
  p.drawText(textRect(kCaptionTop), flags, QString::fromLatin1(kCaption));
  if (picture.players != nullptr) paintPlayers(p, picture);
}

}  // namespace

QString squareValueText(int value) { return QString::asprintf("%+3d", value / SCORE_PER_DISC); }

QFont valueFontFitting(const QString& text) {
  QFont font = valueFont();
  while (QFontMetricsF(font).horizontalAdvance(text) > kCell - 2 * kValueMargin &&
         font.pixelSize() > kSmallestValuePixels) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  return font;
}

// A wide value (+100, a wipe-out) moves left and, if need be, gets a smaller
// font, so it stays on its own square; a neighbour's value would cover it.
QRectF squareValueBox(int square, const QString& text) {
  const QFontMetricsF metrics(valueFontFitting(text));
  const qreal width = metrics.horizontalAdvance(text);
  const qreal usual = squareLeft(square) + kValueOffsetX;
  const qreal left = std::min(usual, squareLeft(square) + kCell - kValueMargin - width);
  return {left, qreal(squareTop(square) + kValueOffsetY), width, metrics.height()};
}

QString discCountText(int discs, Language language) {
  return QString::fromStdString(texts::format(texts::kPanelDiscCount, language, discs));
}

void paintBoardView(QPainter& p, const QRect& area, const BoardPicture& picture, const Artwork& art) {
  paintBoardView(p, area, ViewLayout{kCell, 0, 0}, picture, art);
}

void paintBoardView(QPainter& p, const QRect& area, const ViewLayout& layout, const BoardPicture& picture,
                    const Artwork& art) {
  // The tile's own colour first: the scaled tiles may leave a fraction of
  // a pixel at the edges.
  p.fillRect(area, palette::kTileBase);
  p.save();
  p.translate(layout.left, layout.top);
  const qreal scale = qreal(layout.cell) / kCell;
  p.scale(scale, scale);
  p.drawTiledPixmap(p.transform().inverted().mapRect(QRectF(area)), art.tile());
  paintCoordinates(p);
  paintSquares(p, picture, art);
  paintSquareValues(p, picture);
  paintPanel(p, picture, art);
  p.restore();
}

}  // namespace kaimo
