#include "app/window/main_frame.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

#include "app/controller/game_texts.h"
#include "app/window/about_box.h"
#include "app/window/artwork.h"
#include "app/window/board_picture.h"
#include "app/window/command_table.h"
#include "app/window/player_settings_dialog.h"
#include "app/window/product.h"
#include "app/window/study_pane.h"
#include "app/window/window_options.h"
#include "engine/eval/pattern_eval.h"

namespace kaimo {
namespace {

// Toolbar buttons are drawn for this size (view pixels).
constexpr int kToolBarIconSize = 16;

QIcon toolbarIconFor(int id) {
  using namespace command;
  switch (id) {
    case kLast: return toolbarIcon(Glyph::ToEnd);
    case kNext: return toolbarIcon(Glyph::Forward);
    case kPause: return toolbarIcon(Glyph::Stop);
    case kPrevious: return toolbarIcon(Glyph::Back);
    case kFirst: return toolbarIcon(Glyph::ToStart);
    case kClearBoard: return toolbarIcon(QStringLiteral("新"));
    case kStart: return toolbarIcon(QStringLiteral("始"));
    case kPlayerSettings: return toolbarIcon(QStringLiteral("設"));
    case kEditBoard: return toolbarIcon(QStringLiteral("編"));
    case kEndgameAnalysis: return toolbarIcon(QStringLiteral("解"));
    case kHint: return toolbarIcon(QStringLiteral("ヒ"));
    case kTakeBack: return toolbarIcon(QStringLiteral("待"));
    default: return {};
  }
}

// The longest texts a pane shows in practice; a pane is widened beyond its
// nominal width when the platform's font needs more room for them.
const char* const kWidestPaneTexts[] = {"100% 99999KLeaf/sec 99999msec", "黒はパスです。", "白はパスです。"};

// The checkable commands whose choice is kept between runs, with what they
// start as the first time.
struct KeptChoice {
  int id;
  const char* key;
  bool fallback;
};
constexpr KeptChoice kKeptChoices[] = {{command::kToggleStudyColumn, options::kStudyColumn, true},
                                       {command::kModelessPassNotices, options::kModelessPassNotices, false},
                                       {command::kReview, options::kReview, true},
                                       {command::kUseBook, options::kUseBook, true}};

int paneWidth(const QLabel& label, int pane) {
  const int margins = 2 * label.frameWidth() + 2 * label.margin() + 6;
  const int needed = label.fontMetrics().horizontalAdvance(QString::fromUtf8(kWidestPaneTexts[pane])) + margins;
  return std::max(kPaneWidths[pane], needed);
}

}  // namespace

CMainFrame::CMainFrame(PlayerSettings& settings, QWidget* parent)
    : QMainWindow(parent), view_(new CKaimoView(settings, this)), studyPane_(new StudyPane(view_->controller(), this)) {
  // The board on the left, taking what room there is; the move list and the
  // graph in a column on the right.
  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(view_, 1);
  row->addWidget(studyPane_);
  setCentralWidget(central);
  connect(view_, &CKaimoView::stateChanged, studyPane_, &StudyPane::refresh);
  connect(view_, &CKaimoView::studyContentChanged, studyPane_, &StudyPane::refreshStudy);
  createActions();
  connectCommands();
  createMenus();
  createToolBar();
  createStatusBar();
  createRecentFiles();
  showRecordName();
  setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
  connect(view_, &CKaimoView::paneTextChanged, this, &CMainFrame::setPaneText);
  connect(view_, &CKaimoView::stateChanged, this, &CMainFrame::updateActions);
  connect(view_, &CKaimoView::stateChanged, this, &CMainFrame::showRecordName);
  updateActions();
}

QAction* CMainFrame::action(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

QLabel* CMainFrame::pane(int id) const {
  const int index = id - kFirstPaneId;
  return index >= 0 && index < static_cast<int>(panes_.size()) ? panes_[index] : nullptr;
}

void CMainFrame::createActions() {
  for (const CommandInfo& info : commandTable()) {
    auto* action = new QAction(QString::fromUtf8(info.menuText), this);
    action->setObjectName(QStringLiteral("command%1").arg(info.id));
    action->setData(info.id);
    if (*info.keys != '\0') action->setShortcut(QKeySequence(QString::fromLatin1(info.keys)));
    const QStringList prompt = QString::fromUtf8(info.prompt).split(QLatin1Char('\n'));
    action->setStatusTip(prompt.value(0));
    action->setToolTip(prompt.value(1, prompt.value(0)));
    action->setIcon(toolbarIconFor(info.id));
    action->setIconVisibleInMenu(false);
    connect(action, &QAction::triggered, this, [this, id = info.id] { runCommand(id); });
    // Keys work even for commands that are on no menu.
    addAction(action);
    actions_[info.id] = action;
  }
  for (int id : {command::kToggleToolBar, command::kToggleStatusBar}) {
    actions_[id]->setCheckable(true);
    actions_[id]->setChecked(true);
  }
  // The choices kept between runs, each taking effect as it is read.
  for (const KeptChoice& option : kKeptChoices) {
    actions_[option.id]->setCheckable(true);
    actions_[option.id]->setChecked(options::load(option.key, option.fallback));
    applyOption(option.id);
  }
}

// The window follows a checkable choice of the menus.
void CMainFrame::applyOption(int id) {
  using namespace command;
  const bool on = actions_[id]->isChecked();
  switch (id) {
    case kToggleStudyColumn: studyPane_->setVisible(on); break;
    case kModelessPassNotices: view_->setModelessNotices(on); break;
    case kReview: view_->controller().setReviewing(on); break;
    case kUseBook: view_->controller().setBookEnabled(on); break;
    default: break;
  }
}

// The user changed a choice: the window follows it, and keeps it.
void CMainFrame::changeOption(int id) {
  applyOption(id);
  for (const KeptChoice& choice : kKeptChoices) {
    if (choice.id == id) options::store(choice.key, actions_[id]->isChecked());
  }
}

void CMainFrame::connectCommands() {
  using namespace command;
  GameController& game = view_->controller();
  setHandler(kOpenRecord, [&game] { game.openRecord(); });
  setHandler(kSaveRecord, [&game] { game.saveRecord(); });
  setHandler(kExit, [this] { close(); });
  setHandler(kPlayerSettings, [this] { showPlayerSettings(); });
  setHandler(kStart, [&game] { game.start(); });
  setHandler(kPause, [&game] { game.pause(); });
  setHandler(kClearBoard, [&game] { game.clearBoard(); });
  setHandler(kPrevious, [&game] { game.goBack(); });
  setHandler(kNext, [&game] { game.goForward(); });
  setHandler(kFirst, [&game] { game.goToFirst(); });
  setHandler(kLast, [&game] { game.goToLast(); });
  setHandler(kRotate, [&game] { game.rotateBoard(); });
  setHandler(kMirror, [&game] { game.mirrorBoard(); });
  setHandler(kEditBoard, [&game] { game.toggleEditing(); });
  setHandler(kEvaluationValues, [&game] { game.showEvaluationValues(); });
  setHandler(kEndgameAnalysis, [&game] { game.startAnalysis(); });
  setHandler(kHint, [&game] { game.startHint(); });
  setHandler(kTakeBack, [&game] { game.takeBack(); });
  for (const KeptChoice& choice : kKeptChoices) setHandler(choice.id, [this, id = choice.id] { changeOption(id); });
  setHandler(kCopyRecord,
             [&game] { QGuiApplication::clipboard()->setText(QString::fromStdString(game.recordText())); });
  setHandler(kPasteRecord, [&game] { game.pasteRecord(QGuiApplication::clipboard()->text().toStdString()); });
  setHandler(kSaveBoardPicture, [this] { saveBoardPictureCommand(*view_); });
  setHandler(kToggleToolBar, [this] { toolBar_->setVisible(actions_[kToggleToolBar]->isChecked()); });
  setHandler(kToggleStatusBar, [this] { statusBar()->setVisible(actions_[kToggleStatusBar]->isChecked()); });
  setHandler(kAbout, [this] { showAbout(); });
}

void CMainFrame::setHandler(int id, std::function<void()> handler) { handlers_[id] = std::move(handler); }

void CMainFrame::runCommand(int id) {
  const auto handler = handlers_.find(id);
  if (handler == handlers_.end() || !isEnabledByRule(id)) return;
  handler->second();
  updateActions();
}

void CMainFrame::createMenus() {
  for (const MenuInfo& info : menuBarLayout()) {
    QMenu* menu = nullptr;
    bool separatorPending = false;
    for (int id : info.entries) {
      if (id == kSeparator) {
        separatorPending = menu != nullptr;
        continue;
      }
      if (menu == nullptr) menu = menuBar()->addMenu(QString::fromUtf8(info.title));
      if (separatorPending) menu->addSeparator();
      separatorPending = false;
      menu->addAction(actions_[id]);
    }
  }
}

void CMainFrame::createToolBar() {
  toolBar_ = new QToolBar(QStringLiteral("ツールバー"), this);
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setIconSize(QSize(kToolBarIconSize, kToolBarIconSize));
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  for (int id : toolBarLayout()) {
    if (id == kSeparator) {
      toolBar_->addSeparator();
    } else {
      toolBar_->addAction(actions_[id]);
    }
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
  connect(toolBar_, &QToolBar::visibilityChanged, actions_[command::kToggleToolBar], &QAction::setChecked);
}

void CMainFrame::createStatusBar() {
  QString idleText = QString::fromUtf8(product::kTitleLine);
  // Said from the start, not only when a game of "狐" stops with the
  // evaluation error; the routine stays selectable.
  if (defaultPatternData()->failed()) idleText += QStringLiteral("　") + QString::fromUtf8(texts::kFoxDataMissing);
  auto* idle = new QLabel(idleText, this);
  idle->setObjectName(QStringLiteral("idleMessage"));
  statusBar()->addWidget(idle, 1);
  for (std::size_t i = 0; i < panes_.size(); ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("pane%1").arg(kFirstPaneId + static_cast<int>(i)));
    label->setFixedWidth(paneWidth(*label, static_cast<int>(i)));
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // As tall as the Japanese texts will need, so the window does not jump
    // when the first one arrives; and of a fixed size, so that a new text
    // (ten a second while the computer thinks) does not lay out the whole
    // window again.
    label->setText(QStringLiteral("停止"));
    label->setFixedHeight(label->sizeHint().height());
    label->setText(QStringLiteral(" "));
    statusBar()->addPermanentWidget(label);
    panes_[i] = label;
  }
}

void CMainFrame::createRecentFiles() {
  QAction* placeholder = actions_[command::kRecentFiles];
  for (QObject* owner : placeholder->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(owner)) {
      recentFiles_ = new RecentFiles(*menu, *placeholder, this);
      break;
    }
  }
  connect(recentFiles_, &RecentFiles::openRequested, this, &CMainFrame::openRecent);
}

void CMainFrame::openRecent(const QString& path) {
  if (!view_->controller().openRecordFile(QFile::encodeName(path).toStdString())) recentFiles_->remove(path);
  updateActions();
}

void CMainFrame::showRecordName() {
  const std::string& path = view_->controller().recordPath();
  if (shownRecordPath_ == path) return;
  shownRecordPath_ = path;
  const QString name = QFile::decodeName(QByteArray::fromStdString(path));
  document_.setRecordPath(name);
  setWindowTitle(document_.title() + QStringLiteral(" - ") + QString::fromUtf8(product::kName));
  if (!name.isEmpty()) recentFiles_->add(name);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (view_->controller().mayDiscardGame()) {
    event->accept();
  } else {
    event->ignore();
  }
  updateActions();
}

void CMainFrame::updateActions() {
  for (const auto& [id, action] : actions_) action->setEnabled(handlers_.count(id) != 0 && isEnabledByRule(id));
}

bool CMainFrame::isEnabledByRule(int id) const {
  using namespace command;
  const GameController& game = view_->controller();
  const bool notBusy = game.mode() != ViewMode::Busy;
  switch (id) {
    case kSaveRecord:
      return !game.history().empty();
    case kStart:
      return game.canStart();
    case kPrevious:
      return game.canGoBack();
    case kNext:
      return game.canGoForward();
    case kTakeBack:
      return game.canTakeBack();
    case kHint:
      return game.canHint();
    case kPlayerSettings:
    case kClearBoard:
    case kFirst:
    case kLast:
    case kEditBoard:
    case kEvaluationValues:
    case kEndgameAnalysis:
      return notBusy;
    default:
      return true;
  }
}

void CMainFrame::setPaneText(int pane, const QString& text) {
  if (QLabel* label = this->pane(kFirstPaneId + pane)) label->setText(text);
}

// The dialog edits a copy; the game is stopped first so that no search reads
// the settings while they change.
void CMainFrame::showPlayerSettings() {
  GameController& game = view_->controller();
  game.stopThinking();
  CPlayerSettingsDialog dialog(game.settings(), this);
  if (dialog.exec() == QDialog::Accepted) game.applySettings(dialog.settings());
}

void CMainFrame::showAbout() {
  CAboutBox box(this);
  box.exec();
}

}  // namespace kaimo
