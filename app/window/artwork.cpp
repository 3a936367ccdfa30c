#include "app/window/artwork.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <optional>

#include "engine/board/board.h"

namespace kaimo {
namespace {

// Logical size of a toolbar glyph, and the densities it is drawn for.
constexpr int kGlyphSize = 16;
constexpr int kGlyphRatios[] = {1, 2, 3};
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr qreal kDiscRadius = 13.0;
const QColor kGlyphInk{0x30, 0x30, 0x30};

// A transparent pixmap of `width` x `height` view pixels at `ratio`.
QPixmap blankPixmap(int width, int height, qreal ratio) {
  QPixmap pixmap(qRound(width * ratio), qRound(height * ratio));
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void drawTile(QPainter& p) {
  p.fillRect(QRectF(0, 0, kTileSize, kTileSize), palette::kTileBase);
  // A faint diamond lattice, so the panel text sits on a quiet surface.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(palette::kTileLine, 1.0));
  const qreal h = kTileSize / 2.0;
  const QPointF diamond[] = {{h, 0.5}, {kTileSize - 0.5, h}, {h, kTileSize - 0.5}, {0.5, h}};
  p.drawPolygon(diamond, 4);
}

// Lit top and left edges and shaded bottom and right edges make each square
// a slightly raised tile; neighbours together form a groove.
void drawGround(QPainter& p, const QRectF& r, bool highlighted) {
  const QColor ground = highlighted ? palette::kCyanGround : palette::kGreenGround;
  p.fillRect(r, ground);
  p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), ground.lighter(135));
  p.fillRect(QRectF(r.left(), r.top(), 1, r.height()), ground.lighter(135));
  p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), palette::kGridLine);
  p.fillRect(QRectF(r.right() - 1, r.top(), 1, r.height()), palette::kGridLine);
}

void drawFrame(QPainter& p, const QRectF& r) {
  const qreal w = kFrameWidth;
  p.fillRect(QRectF(r.left(), r.top(), r.width(), w), palette::kFrameYellow);
  p.fillRect(QRectF(r.left(), r.bottom() - w, r.width(), w), palette::kFrameYellow);
  p.fillRect(QRectF(r.left(), r.top(), w, r.height()), palette::kFrameYellow);
  p.fillRect(QRectF(r.right() - w, r.top(), w, r.height()), palette::kFrameYellow);
}

void drawDisc(QPainter& p, const QPointF& centre, qreal radius, bool black) {
  // Light from the top left.
  QRadialGradient shade(centre + QPointF(-radius / 3, -radius / 3), radius * 1.4);
  shade.setColorAt(0.0, black ? QColor(0x70, 0x70, 0x70) : QColor(0xff, 0xff, 0xff));
  shade.setColorAt(1.0, black ? QColor(0x04, 0x04, 0x04) : QColor(0xb4, 0xb4, 0xb4));
  p.setPen(QPen(black ? QColor(0x00, 0x00, 0x00) : QColor(0x70, 0x70, 0x70), radius / 13));
  p.setBrush(shade);
  p.drawEllipse(centre, radius, radius);
}

// A square out of play: a stone block with a face.
void drawWall(QPainter& p, const QRectF& r) {
  const QRectF stone = r.adjusted(5, 5, -5, -5);
  QLinearGradient shade(stone.topLeft(), stone.bottomRight());
  shade.setColorAt(0.0, QColor(0xc4, 0xbe, 0xb4));
  shade.setColorAt(1.0, QColor(0x7c, 0x76, 0x6c));
  p.setPen(QPen(QColor(0x4a, 0x46, 0x40), 1.0));
  p.setBrush(shade);
  p.drawRoundedRect(stone, 4, 4);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x26, 0x22, 0x1e));
  const QPointF c = stone.center();
  p.drawEllipse(c + QPointF(-5, -3), 2, 2);
  p.drawEllipse(c + QPointF(5, -3), 2, 2);
  p.setPen(QPen(QColor(0x26, 0x22, 0x1e), 1.5, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - 6, c.y() - 3, 12, 9), 200 * 16, 140 * 16);
}

void drawCell(QPainter& p, const QRectF& r, int squareValue, bool lastMove, bool highlighted) {
  drawGround(p, r, highlighted);
  if (lastMove) drawFrame(p, r);
  p.setRenderHint(QPainter::Antialiasing);
  if (squareValue == kBlack || squareValue == kWhite) {
    drawDisc(p, r.center(), kDiscRadius, squareValue == kBlack);
  } else if (squareValue == kWall) {
    drawWall(p, r);
  }
  p.setRenderHint(QPainter::Antialiasing, false);
}

// The shapes of the step and stop buttons, drawn rather than taken from a
// font that may not have them.
enum class Glyph { ToEnd, Forward, Stop, Back, ToStart };

std::optional<Glyph> drawnGlyph(const QString& glyph) {
  static const QHash<QString, Glyph> drawn = {{QStringLiteral("⏭"), Glyph::ToEnd},
                                              {QStringLiteral("▶"), Glyph::Forward},
                                              {QStringLiteral("■"), Glyph::Stop},
                                              {QStringLiteral("◀"), Glyph::Back},
                                              {QStringLiteral("⏮"), Glyph::ToStart}};
  const auto found = drawn.find(glyph);
  return found == drawn.end() ? std::nullopt : std::optional<Glyph>(*found);
}

void drawGlyph(QPainter& p, Glyph glyph) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kGlyphInk);
  auto triangle = [&](qreal left, qreal right) {  // pointing from left to right
    const QPointF points[] = {{left, 3}, {right, 8}, {left, 13}};
    p.drawPolygon(points, 3);
  };
  switch (glyph) {
    case Glyph::ToEnd:
      triangle(3, 11);
      p.drawRect(QRectF(11, 3, 2, 10));
      break;
    case Glyph::Forward: triangle(4, 12); break;
    case Glyph::Stop: p.drawRect(QRectF(4, 4, 8, 8)); break;
    case Glyph::Back: triangle(12, 4); break;
    case Glyph::ToStart:
      p.drawRect(QRectF(3, 3, 2, 10));
      triangle(13, 5);
      break;
  }
}

template <typename Draw>
QIcon glyphIcon(Draw draw) {
  QIcon icon;
  for (int ratio : kGlyphRatios) {
    QPixmap pixmap = blankPixmap(kGlyphSize, kGlyphSize, ratio);
    QPainter p(&pixmap);
    draw(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void drawProgramIcon(QPainter& p, int size) {
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  p.setPen(Qt::NoPen);
  p.setBrush(palette::kGreenGround);
  p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.16, s * 0.16);
  p.setPen(QPen(palette::kGridLine, qMax(1.0, s / 48)));
  for (int i = 1; i < 4; ++i) {
    p.drawLine(QPointF(s * i / 4, s * 0.06), QPointF(s * i / 4, s * 0.94));
    p.drawLine(QPointF(s * 0.06, s * i / 4), QPointF(s * 0.94, s * i / 4));
  }
  drawDisc(p, QPointF(s * 0.375, s * 0.375), s * 0.3, true);
  drawDisc(p, QPointF(s * 0.625, s * 0.625), s * 0.3, false);
}

}  // namespace

Artwork::Artwork(qreal devicePixelRatio) : ratio_(devicePixelRatio) {
  tile_ = blankPixmap(kTileSize, kTileSize, ratio_);
  {
    QPainter p(&tile_);
    drawTile(p);
  }
  sheet_ = blankPixmap(kSpriteColumns * kSpriteSize, kSpriteRows * kSpriteSize, ratio_);
  {
    QPainter p(&sheet_);
    for (int row = 0; row < kSpriteRows; ++row) {
      for (int column = 0; column < kSpriteColumns; ++column) {
        const QRectF r(column * kSpriteSize, row * kSpriteSize, kSpriteSize, kSpriteSize);
        drawCell(p, r, row / 2, row % 2 == 1, column == 1);
      }
    }
  }
  const int cellPixels = qRound(kSpriteSize * ratio_);
  for (int row = 0; row < kSpriteRows; ++row) {
    for (int column = 0; column < kSpriteColumns; ++column) {
      QPixmap cell = sheet_.copy(column * cellPixels, row * cellPixels, cellPixels, cellPixels);
      cell.setDevicePixelRatio(ratio_);
      cells_[row * kSpriteColumns + column] = cell;
    }
  }
  for (int colour : {kBlack, kWhite}) {
    discs_[colour] = blankPixmap(kSpriteSize, kSpriteSize, ratio_);
    QPainter p(&discs_[colour]);
    p.setRenderHint(QPainter::Antialiasing);
    drawDisc(p, QPointF(kSpriteSize / 2.0, kSpriteSize / 2.0), kDiscRadius, colour == kBlack);
  }
}

QIcon toolbarIcon(const QString& glyph) {
  if (const std::optional<Glyph> shape = drawnGlyph(glyph)) {
    return glyphIcon([shape](QPainter& p) { drawGlyph(p, *shape); });
  }
  return glyphIcon([&glyph](QPainter& p) {
    QFont font;
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kGlyphInk);
    p.drawText(QRectF(0, 0, kGlyphSize, kGlyphSize), Qt::AlignCenter, glyph);
  });
}

QIcon programIcon() {
  QIcon icon;
  for (int size : kIconSizes) {
    QPixmap pixmap = blankPixmap(size, size, 1.0);
    QPainter p(&pixmap);
    drawProgramIcon(p, size);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace kaimo
