// The main window: menu bar, toolbar and status bar around the board view.
// Every command is one QAction keyed by its numeric id; updateActions() sets
// all their enabled states from the controller after every change.
#pragma once

#include <QLabel>
#include <QMainWindow>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "app/settings/player_settings.h"
#include "app/window/kaimo_doc.h"
#include "app/window/kaimo_view.h"
#include "app/window/recent_files.h"

class QToolBar;
class QCloseEvent;

namespace kaimo {

class StudyPane;

// Ids and nominal widths (pixels) of the three panes the controller writes to.
constexpr int kFirstPaneId = 256;
constexpr std::array<int, 3> kPaneWidths = {192, 64, 64};

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(PlayerSettings& settings, QWidget* parent = nullptr);

  CKaimoView* view() const { return view_; }
  StudyPane* studyPane() const { return studyPane_; }
  CKaimoDoc& document() { return document_; }
  // The action of command `id`, or null for an unknown id.
  QAction* action(int id) const;
  // Pane 256, 257 or 258, or null.
  QLabel* pane(int id) const;

  void updateActions();
  RecentFiles& recentFiles() { return *recentFiles_; }

 protected:
  // A game with unsaved work is only thrown away when the user agrees.
  void closeEvent(QCloseEvent* event) override;

 private:
  void createActions();
  void connectCommands();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void createRecentFiles();
  void openRecent(const QString& path);
  // The title and the recent files follow the record the game belongs to.
  void showRecordName();
  void setHandler(int id, std::function<void()> handler);
  void applyOption(int id);
  void changeOption(int id);
  void runCommand(int id);
  bool isEnabledByRule(int id) const;
  void setPaneText(int pane, const QString& text);
  void showPlayerSettings();
  void showAbout();

  CKaimoDoc document_;
  CKaimoView* view_;
  StudyPane* studyPane_;
  QToolBar* toolBar_ = nullptr;
  std::map<int, QAction*> actions_;
  std::map<int, std::function<void()>> handlers_;
  std::array<QLabel*, 3> panes_{};
  RecentFiles* recentFiles_ = nullptr;
  std::optional<std::string> shownRecordPath_;  // none until the first title is set
};

}  // namespace kaimo
