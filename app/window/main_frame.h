// The main window: menu bar, toolbar and status bar around the board view.
// Every command is one QAction keyed by its numeric id; updateActions() sets
// all their enabled states from the controller after every change.
#pragma once

#include <QLabel>
#include <QMainWindow>

#include <array>
#include <functional>
#include <map>

#include "app/settings/player_settings.h"
#include "app/window/kaimo_doc.h"
#include "app/window/kaimo_view.h"

class QToolBar;

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

 private:
  void createActions();
  void connectCommands();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void setHandler(int id, std::function<void()> handler);
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
};

}  // namespace kaimo
