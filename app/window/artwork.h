// The program's own pictures, drawn once at start-up at the screen's pixel
// density so they stay sharp on high-density screens: the background tile,
// the sprite sheet of board cells, the toolbar glyphs and the program icon.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace kaimo {

// Colours the pictures are made of; the view's tests look for them.
namespace palette {
inline const QColor kGreenGround{0x1f, 0x7a, 0x3c};
inline const QColor kCyanGround{0x46, 0xc8, 0xc8};
inline const QColor kGridLine{0x0e, 0x3d, 0x1e};
inline const QColor kFrameYellow{0xff, 0xd8, 0x1a};
inline const QColor kPanelText{0x00, 0x00, 0xff};
inline const QColor kTileBase{0xe9, 0xdf, 0xc6};
inline const QColor kTileLine{0xd9, 0xcb, 0xa8};
inline const QColor kCoordinateText{0x5a, 0x48, 0x28};
}  // namespace palette

// Sprite sheet layout: 2 columns (plain ground, highlighted ground) by 8 rows
// (black, white, empty, wall; each plain and then framed as the last move).
constexpr int kSpriteColumns = 2;
constexpr int kSpriteRows = 8;
constexpr int kSpriteSize = 32;
constexpr int kTileSize = 32;
// Width of the yellow frame of the last move.
constexpr int kFrameWidth = 3;

inline constexpr int spriteRow(int squareValue, bool lastMove) { return 2 * squareValue + (lastMove ? 1 : 0); }

class Artwork {
 public:
  // Everything drawn for `devicePixelRatio` device pixels per view pixel.
  explicit Artwork(qreal devicePixelRatio);

  qreal devicePixelRatio() const { return ratio_; }
  const QPixmap& tile() const { return tile_; }
  // The whole 64 x 256 sheet and one 32 x 32 cell of it.
  const QPixmap& sheet() const { return sheet_; }
  const QPixmap& cell(int column, int row) const { return cells_[row * kSpriteColumns + column]; }
  // A disc of `colour` alone on a transparent cell, as the cells draw it.
  const QPixmap& disc(int colour) const { return discs_[colour == 0 ? 0 : 1]; }

 private:
  qreal ratio_;
  QPixmap tile_;
  QPixmap sheet_;
  QPixmap cells_[kSpriteColumns * kSpriteRows];
  QPixmap discs_[2];
};

// A toolbar button: the step and stop signs ⏮ ◀ ■ ▶ ⏭ drawn as shapes,
// anything else (one character, such as 始) as text.
QIcon toolbarIcon(const QString& glyph);

// The program icon: discs on a green board.
QIcon programIcon();

}  // namespace kaimo
