// Draws the board view: background, squares with discs, last-move frame and
// highlights, per-square values, and the side panel with both counts, the
// side to move and the caption.
#pragma once

#include <QPainter>
#include <QRect>

#include "app/texts/language.h"
#include "app/window/artwork.h"
#include "app/window/board_geometry.h"
#include "app/window/move_animation.h"
#include "engine/board/board.h"
#include "engine/search/endgame_analysis.h"

namespace kaimo {

// Who plays each colour and their clocks, for the side panel.
struct PanelPlayers {
  QString player[2];  // "狐 レベル11"
  QString clock[2];   // "9:58", "消費 1:23"
  bool outOfTime[2];  // the clock shows red
};

struct BoardPicture {
  const Board& board;
  int side;                    // colour to move, framed in the panel
  const MoveMarks& marks;      // 1: the square is drawn highlighted
  int lastMove;                // framed square, or -1
  const SquareValues& values;  // SCORE_NONE: no number on the square
  int emphasized = -1;         // the hint's best square: its number stands out
  // The move being drawn as it happens, and how far it has come (0..1);
  // only while `board` is still the position it leads to.
  const MoveAnimation* animation = nullptr;
  double progress = 1.0;
  Language language = Language::Japanese;  // of the counts in the panel
  const PanelPlayers* players = nullptr;  // none: the panel names nobody
};

// "%+3d" of the value in whole discs (rounded toward zero): -1500 gives " -1".
QString squareValueText(int value);
// "%2d石"
QString discCountText(int discs, Language language);
// The font and the white box (design units) of value `text` on `square`:
// inside the square whatever the text's width.
QFont valueFontFitting(const QString& text);
QRectF squareValueBox(int square, const QString& text);

// Fills `area` and draws the design scaled and placed by `layout`; the art
// is best made for the layout's scale (cell / kCell times the screen's
// density), so it is drawn pixel for pixel.
void paintBoardView(QPainter& p, const QRect& area, const geometry::ViewLayout& layout, const BoardPicture& picture,
                    const Artwork& art);
// The design at its default size, at the top left of `area`.
void paintBoardView(QPainter& p, const QRect& area, const BoardPicture& picture, const Artwork& art);

}  // namespace kaimo
