// The main window: owns the game controller and its tick, and puts the menu
// bar, the toolbar, the board view, the study column and the status bar
// round it. Every command is one QAction built from its entry in the
// command table; updateActions() sets all their enabled states from the
// controller after every change. Every text is in the window's language,
// which the user can change at any time: the window then says everything
// again in the other one, and a game goes on.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/controller/game_controller.h"
#include "app/settings/player_settings.h"
#include "app/window/commands.h"
#include "app/window/game_keeper.h"
#include "app/window/kaimo_doc.h"
#include "app/window/kaimo_view.h"
#include "app/window/recent_files.h"
#include "app/window/window_dialogs.h"

class QMenu;
class QToolBar;
class QCloseEvent;

namespace kaimo {

class StudyPane;
class SquareKeys;
class GameSounds;

// The controller's tick.
constexpr int kTickMilliseconds = 100;

// Ids and nominal widths (pixels) of the three panes the controller writes to.
constexpr int kFirstPaneId = 256;
constexpr std::array<int, 3> kPaneWidths = {192, 64, 64};

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(PlayerSettings& settings, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Every command, once: see main_frame_commands.cpp.
  static const std::vector<CommandEntry>& commandTable();

  GameController& controller() { return controller_; }
  // The message boxes and file dialogs the controller uses.
  WindowDialogs& dialogs() { return dialogs_; }
  CKaimoView* view() const { return view_; }
  StudyPane* studyPane() const { return studyPane_; }
  CKaimoDoc& document() { return document_; }
  // The action of `command`, or null.
  QAction* action(Command command) const;
  // Pane 256, 257 or 258, or null.
  QLabel* pane(int id) const;

  void updateActions();
  RecentFiles& recentFiles() { return *recentFiles_; }
  // The squares typed on the keyboard.
  SquareKeys& squareKeys() { return *squareKeys_; }
  GameSounds& sounds() { return *sounds_; }
  // Keeps the game on screen against a crash in `path` from now on, after
  // offering the game a run that did not end cleanly left there (see
  // GameKeeper); false when another Kaimo keeps its game there.
  bool keepGameIn(const std::string& path);

  Language language() const { return language_; }
  // Shows every text in `language` from now on and keeps the choice.
  void setLanguage(Language language);

 protected:
  // The tick starts when the window is first shown.
  void showEvent(QShowEvent* event) override;
  // A game with unsaved work is only thrown away when the user agrees.
  void closeEvent(QCloseEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void fillMenu(QMenu& menu, const MenuLayout& layout);
  void createToolBar();
  void createStatusBar();
  void createRecentFiles();
  void loadToggles();
  void openRecent(const QString& path);
  // The title and the recent files follow the record the game belongs to.
  void showRecordName();
  void runCommand(const CommandEntry& entry);
  bool isEnabled(const CommandEntry& entry) const;
  // The window follows a switch of the menus; `changed` by the user, who
  // then has it kept.
  void applyToggle(const CommandEntry& entry, bool changed);
  void setPaneText(int pane, const QString& text);
  void gameChanged();
  void showPlayerSettings();
  void showAbout();
  // Every text of the menus, the toolbar, the panes and the column beside
  // the board in the window's language; Qt's own dialogs follow it too.
  void showLanguage();
  QString text(const texts::Text& text) const { return QString::fromUtf8(text.in(language_)); }

  // The user's choice, or the system's language when there is none.
  Language language_;
  // The controller's window: made before the controller and gone after it.
  WindowDialogs dialogs_;
  GameController controller_;
  // Gone before the controller, removing the kept game: a clean end.
  GameKeeper keeper_;
  QTimer tick_;
  CKaimoDoc document_;
  CKaimoView* view_;
  StudyPane* studyPane_;
  QToolBar* toolBar_ = nullptr;
  std::map<Command, QAction*> actions_;
  std::array<QLabel*, 3> panes_{};
  QLabel* idleMessage_ = nullptr;
  // The menus with their titles, to say them again in another language.
  std::vector<std::pair<QMenu*, texts::Text>> menus_;
  RecentFiles* recentFiles_ = nullptr;
  SquareKeys* squareKeys_ = nullptr;
  GameSounds* sounds_;
  std::optional<std::string> shownRecordPath_;  // none until the first title is set
};

}  // namespace kaimo
