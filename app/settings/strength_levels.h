// The strength a side can be given in one choice: each level stands for a
// normal depth and an exact-read depth (no win-read depth), which fill the
// settings dialog's three depth fields. Nothing of it is stored: the
// settings file keeps the depths, and the level shown is the one whose
// depths they are.
#pragma once

#include <array>

namespace kaimo {

struct LevelDepths {
  int normal;
  int win;
  int exact;
};

// Level 1 answers at once; each level reads a ply deeper and more empty
// squares to the end. Level 6 is what a new side starts with (6 and 13);
// level 10 takes a few seconds a move with "狐" (10 plies, 22 empty squares
// to the end).
inline constexpr std::array<LevelDepths, 10> kStrengthLevels = {{
    {1, 0, 4},
    {2, 0, 6},
    {3, 0, 8},
    {4, 0, 10},
    {5, 0, 12},
    {6, 0, 13},
    {7, 0, 16},
    {8, 0, 18},
    {9, 0, 20},
    {10, 0, 22},
}};

// The depths of level `level` (1..10).
inline constexpr LevelDepths depthsOfLevel(int level) { return kStrengthLevels[level - 1]; }

// The level (1..10) whose depths these are, or 0 for depths of no level.
inline constexpr int levelOfDepths(int normal, int win, int exact) {
  for (int i = 0; i < static_cast<int>(kStrengthLevels.size()); ++i) {
    const LevelDepths& d = kStrengthLevels[i];
    if (d.normal == normal && d.win == win && d.exact == exact) return i + 1;
  }
  return 0;
}

}  // namespace kaimo
