// The window's command vocabulary: every command with its numeric id, menu
// text, key and prompt, and the menu bar built from them.
#pragma once

#include <vector>

namespace kaimo {

namespace command {
constexpr int kOpenRecord = 32781;
constexpr int kSaveRecord = 32780;
constexpr int kExit = 57665;
constexpr int kPlayerSettings = 32775;
constexpr int kStart = 32772;
constexpr int kPause = 32773;
constexpr int kClearBoard = 32821;
constexpr int kPrevious = 32777;
constexpr int kNext = 32778;
constexpr int kFirst = 32774;
constexpr int kLast = 32779;
constexpr int kRotate = 32798;
constexpr int kMirror = 32799;
constexpr int kEditBoard = 32818;
constexpr int kEvaluationValues = 32797;
constexpr int kEndgameAnalysis = 32820;
constexpr int kHint = 32830;
constexpr int kCopyRecord = 32831;
constexpr int kPasteRecord = 32832;
constexpr int kSaveBoardPicture = 32833;
constexpr int kTakeBack = 32834;
constexpr int kReview = 32835;
constexpr int kToggleStudyColumn = 32836;
constexpr int kModelessPassNotices = 32837;
constexpr int kUseBook = 32838;
constexpr int kToggleToolBar = 59392;
constexpr int kToggleStatusBar = 59393;
constexpr int kAbout = 57664;
// Where a list of recently used files would go: shown grayed, never enabled.
constexpr int kRecentFiles = 57616;
}  // namespace command

struct CommandInfo {
  int id;
  const char* menuText;  // with its mnemonic; the key is shown by the menu itself
  const char* keys;      // a QKeySequence in portable text, or ""
  const char* prompt;    // status bar prompt, "\n", tool tip
};

const std::vector<CommandInfo>& commandTable();
// Null for an unknown id.
const CommandInfo* findCommand(int id);

// A menu of the menu bar; 0 in `entries` is a separator.
struct MenuInfo {
  const char* title;
  std::vector<int> entries;
};
constexpr int kSeparator = 0;

const std::vector<MenuInfo>& menuBarLayout();
// The toolbar's buttons, left to right, with 0 for separators.
const std::vector<int>& toolBarLayout();

}  // namespace kaimo
