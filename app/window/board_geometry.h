// Where the board view puts things, in pixels of the view (device-independent).
#pragma once

#include "engine/board/board.h"

namespace kaimo::geometry {

constexpr int kCell = 32;
// The board starts two cells in from the top-left corner: 64..383 both ways.
constexpr int kBoardOrigin = 2 * kCell;
constexpr int kBoardEnd = kBoardOrigin + kBoardSize * kCell;

// Offset of a square's value text from the square's top-left corner.
constexpr int kValueOffsetX = 4;
constexpr int kValueOffsetY = 8;

// The side panel: the two indicators, the two counts and the caption.
constexpr int kIndicatorX = 448;
constexpr int kBlackIndicatorY = 128;
constexpr int kWhiteIndicatorY = 160;
constexpr int kPanelTextLeft = 480;
constexpr int kPanelTextRight = 736;
constexpr int kBlackCountTop = 128;
constexpr int kWhiteCountTop = 160;
constexpr int kCaptionTop = 352;
constexpr int kPanelTextHeight = 32;

// Room for the board and the panel with a margin like the board's.
constexpr int kViewWidth = kPanelTextRight + kCell;
constexpr int kViewHeight = kBoardEnd + kBoardOrigin;

// What squareFromPoint returns for the two indicators and for anything else.
constexpr int kBlackIndicator = -10;
constexpr int kWhiteIndicator = -11;
constexpr int kNowhere = -1;

constexpr int squareLeft(int square) { return kBoardOrigin + kCell * columnOf(square); }
constexpr int squareTop(int square) { return kBoardOrigin + kCell * rowOf(square); }

// Rounds toward minus infinity, so points left of or above the board never
// land in column or row 0.
constexpr int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The square under (x, y), kBlackIndicator, kWhiteIndicator or kNowhere.
constexpr int squareFromPoint(int x, int y) {
  const int column = floorDiv(x - kBoardOrigin, kCell);
  const int row = floorDiv(y - kBoardOrigin, kCell);
  if (column >= 0 && column < kBoardSize && row >= 0 && row < kBoardSize) return squareAt(column, row);
  const int indicatorColumn = (kIndicatorX - kBoardOrigin) / kCell;
  if (column == indicatorColumn && row == (kBlackIndicatorY - kBoardOrigin) / kCell) return kBlackIndicator;
  if (column == indicatorColumn && row == (kWhiteIndicatorY - kBoardOrigin) / kCell) return kWhiteIndicator;
  return kNowhere;
}

}  // namespace kaimo::geometry
