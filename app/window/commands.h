// The window's commands. Each is declared once, in CMainFrame's command
// table (main_frame_commands.cpp): its menu text, key, prompt, toolbar
// glyph (each text in Japanese and English), what it does and the rule that
// enables it. The menus and the toolbar below only say where the commands go.
#pragma once

#include <optional>
#include <vector>

#include "app/texts/text.h"

namespace kaimo {

class CMainFrame;
class GameController;

// The ids the window's resources have always given the commands.
enum class Command : int {
  Separator = 0,  // not a command: a line between groups on a menu or the toolbar
  OpenRecord = 32781,
  SaveRecord = 32780,
  CopyRecord = 32831,
  PasteRecord = 32832,
  SaveBoardPicture = 32833,
  RecentFiles = 57616,  // where the recent files go: shown grayed, never run
  Exit = 57665,
  PlayerSettings = 32775,
  Start = 32772,
  Pause = 32773,
  TakeBack = 32834,
  ClearBoard = 32821,
  Previous = 32777,
  Next = 32778,
  First = 32774,
  Last = 32779,
  Rotate = 32798,
  Mirror = 32799,
  EditBoard = 32818,
  EvaluationValues = 32797,
  EndgameAnalysis = 32820,
  Hint = 32830,
  Review = 32835,
  ToggleToolBar = 59392,
  ToggleStatusBar = 59393,
  ToggleStudyColumn = 32836,
  ModelessPassNotices = 32837,
  UseBook = 32838,
  Redo = 32850,
  SwapSides = 32851,
  AnimateMoves = 32852,
  PlaySounds = 32853,
  ShowLegalMoves = 32870,
  JapaneseLanguage = 32860,  // the window's language: one of the two is chosen
  EnglishLanguage = 32861,
  About = 57664,
};

// A command that is switched on and off: what it is the first time, and
// the key of the window's preferences it is kept under between runs (null:
// not kept).
struct Toggle {
  bool on;
  const char* keptAs;
};

struct CommandEntry {
  Command command;
  texts::Text text;         // the menu text with its mnemonic; the menu shows the key itself
  const char* keys = "";    // a QKeySequence in portable text
  texts::Text prompt = {};  // status bar prompt, "\n", tool tip
  // The toolbar button: one character drawn as it is, or one of the drawn
  // arrows and the stop square (artwork.h); no text for none.
  texts::Text glyph = {};
  void (*run)(CMainFrame& frame) = nullptr;  // null only for RecentFiles
  // Asked of the controller after every change; null: always enabled.
  bool (GameController::*enabled)() const = nullptr;
  std::optional<Toggle> toggle = std::nullopt;  // none: an ordinary command
  // The language this command chooses; none for every other command.
  std::optional<Language> language = std::nullopt;
};

// A menu of the menu bar, or a menu on a menu.
struct MenuLayout {
  texts::Text title;
  std::vector<Command> entries;
  std::vector<MenuLayout> submenus = {};  // after the entries, behind a line
};

const std::vector<MenuLayout>& menuBarLayout();
// The toolbar's buttons, left to right.
const std::vector<Command>& toolBarLayout();

}  // namespace kaimo
