// Draws the board view: background, squares with discs, last-move frame and
// highlights, per-square values, and the side panel with both counts, the
// side to move and the caption.
#pragma once

#include <QPainter>
#include <QRect>

#include "app/window/artwork.h"
#include "engine/board/board.h"
#include "engine/search/endgame_analysis.h"

namespace kaimo {

struct BoardPicture {
  const Board& board;
  int side;                    // colour to move, framed in the panel
  const MoveMarks& marks;      // 1: the square is drawn highlighted
  int lastMove;                // framed square, or -1
  const SquareValues& values;  // SCORE_NONE: no number on the square
  int emphasized = -1;         // the hint's best square: its number stands out
};

// "%+3d" of the value in whole discs (rounded toward zero): -1500 gives " -1".
QString squareValueText(int value);
// "%2d石"
QString discCountText(int discs);

void paintBoardView(QPainter& p, const QRect& area, const BoardPicture& picture, const Artwork& art);

}  // namespace kaimo
