// Where the board view puts things. The constants and functions below
// place everything in design units: view pixels (device-independent) of the
// default size, 32 a cell. A view of any other size draws the same design
// scaled to a whole number of pixels a cell and centred (ViewLayout).
#pragma once

#include <algorithm>

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
// Under the counts, each colour's player and clock, black first; the side
// to move is marked beside its player.
constexpr int kPlayersTop = 204;
constexpr int kPlayerLineHeight = 24;
constexpr int kPlayerBlockHeight = 2 * kPlayerLineHeight + 12;

// Room for the board and the panel with a margin like the board's.
constexpr int kViewWidth = kPanelTextRight + kCell;
constexpr int kViewHeight = kBoardEnd + kBoardOrigin;

// The design measured in cells.
constexpr int kViewCellsWide = kViewWidth / kCell;
constexpr int kViewCellsTall = kViewHeight / kCell;
static_assert(kViewCellsWide * kCell == kViewWidth && kViewCellsTall * kCell == kViewHeight);

// The band along the board's top and left edges where its coordinates go.
constexpr int kCoordinateBand = kCell;

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

// The view is never smaller than the design: Qt would otherwise open the
// window at two thirds of a small screen, and smaller texts read badly.
constexpr int kMinCell = kCell;

// Where the design sits in a view: pixels a cell and the design's top-left
// corner in view pixels.
struct ViewLayout {
  int cell;
  int left;
  int top;
};

// The largest whole cell at which the design fits, centred in the view.
constexpr ViewLayout layoutFor(int width, int height) {
  const int cell = std::max(kMinCell, std::min(width / kViewCellsWide, height / kViewCellsTall));
  return {cell, (width - kViewCellsWide * cell) / 2, (height - kViewCellsTall * cell) / 2};
}

// A view coordinate in design units, rounded down like the cells.
constexpr int toDesign(int viewCoordinate, int origin, int cell) {
  return floorDiv((viewCoordinate - origin) * kCell, cell);
}

// The square (or indicator) under view point (x, y) in `layout`.
constexpr int squareFromPoint(const ViewLayout& layout, int x, int y) {
  return squareFromPoint(toDesign(x, layout.left, layout.cell), toDesign(y, layout.top, layout.cell));
}

}  // namespace kaimo::geometry
