// The strength a side can be given in one choice. Levels 1 to 10 stand for a
// normal depth and an exact-read depth (no win-read depth), which fill the
// settings dialog's three depth fields; the levels above 10 read by time,
// with ProbCut, as deep as their time per move allows. Nothing of it is
// stored: the settings file keeps the depths and the ProbCut switch, the
// window's preferences the time, and the level shown is the one they make.
#pragma once

#include <array>

namespace kaimo {

struct LevelDepths {
  int normal;
  int win;
  int exact;
};

struct StrengthLevel {
  LevelDepths depths;
  bool probCut;
  int msPerMove;  // 0: by depth alone
};

// The deepest normal depth the dialog takes: a level by time reads as
// deep as its time allows.
inline constexpr int kDeepestLevelDepth = 60;

// Level 1 answers at once; each level reads a ply deeper and more empty
// squares to the end. Level 6 is what a new side starts with (6 and 13);
// level 10 takes a few seconds a move with "狐" (10 plies, 22 empty squares
// to the end). Levels 11 to 13 take 1, 5 and 30 seconds a move with ProbCut
// and read to the end when the clock manager expects the read to fit (from
// 13 empty squares at the latest); the README gives their strength.
inline constexpr std::array<StrengthLevel, 13> kStrengthLevels = {{
    {{1, 0, 4}, false, 0},
    {{2, 0, 6}, false, 0},
    {{3, 0, 8}, false, 0},
    {{4, 0, 10}, false, 0},
    {{5, 0, 12}, false, 0},
    {{6, 0, 13}, false, 0},
    {{7, 0, 16}, false, 0},
    {{8, 0, 18}, false, 0},
    {{9, 0, 20}, false, 0},
    {{10, 0, 22}, false, 0},
    {{kDeepestLevelDepth, 0, 13}, true, 1000},
    {{kDeepestLevelDepth, 0, 13}, true, 5000},
    {{kDeepestLevelDepth, 0, 13}, true, 30000},
}};
inline constexpr int kLevelCount = static_cast<int>(kStrengthLevels.size());

// Level `level` (1..kLevelCount).
inline constexpr const StrengthLevel& strengthLevel(int level) { return kStrengthLevels[level - 1]; }
inline constexpr LevelDepths depthsOfLevel(int level) { return strengthLevel(level).depths; }

// The level (1..kLevelCount) these settings make, or 0 for none. A level by
// depth asks nothing of ProbCut; a level by time wants it on and that time
// per move (`msPerMove` 0: the side reads by depth).
inline constexpr int levelOf(int normal, int win, int exact, bool probCut, int msPerMove) {
  for (int i = 0; i < kLevelCount; ++i) {
    const StrengthLevel& l = kStrengthLevels[i];
    if (l.depths.normal != normal || l.depths.win != win || l.depths.exact != exact) continue;
    if (l.msPerMove == msPerMove && (msPerMove == 0 || l.probCut == probCut)) return i + 1;
  }
  return 0;
}

// The level by depth (1..10) whose depths these are, or 0.
inline constexpr int levelOfDepths(int normal, int win, int exact) { return levelOf(normal, win, exact, false, 0); }

}  // namespace kaimo
