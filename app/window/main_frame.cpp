#include "app/window/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

#include "app/controller/game_texts.h"
#include "app/window/about_box.h"
#include "app/window/artwork.h"
#include "app/window/game_sounds.h"
#include "app/window/player_settings_dialog.h"
#include "app/window/product.h"
#include "app/window/qt_translations.h"
#include "app/window/square_keys.h"
#include "app/window/study_pane.h"
#include "app/window/window_options.h"
#include "app/window/window_texts.h"
#include "engine/book/opening_book.h"
#include "engine/eval/pattern_eval.h"

namespace kaimo {
namespace {

// Toolbar buttons are drawn for this size (view pixels).
constexpr int kToolBarIconSize = 16;

// The longest texts a pane shows in practice, in either language; a pane is
// widened beyond its nominal width when the platform's font needs more room
// for them.
std::vector<texts::Wording> widestPaneTexts(int pane) {
  if (pane == kProgressPane) return {texts::Wording::same("100% 99999KLeaf/sec 99999msec")};
  const int colour = pane - kBlackPane;
  return {texts::passText(colour), colour == kBlack ? texts::blackCountText(100) : texts::whiteCountText(100)};
}

int paneWidth(const QLabel& label, int pane) {
  const int margins = 2 * label.frameWidth() + 2 * label.margin() + 6;
  int width = kPaneWidths[pane];
  for (const texts::Wording& text : widestPaneTexts(pane)) {
    for (Language language : kLanguages) {
      width =
          std::max(width, label.fontMetrics().horizontalAdvance(QString::fromStdString(text.in(language))) + margins);
    }
  }
  return width;
}

}  // namespace

CMainFrame::CMainFrame(PlayerSettings& settings, QWidget* parent)
    : QMainWindow(parent),
      language_(options::loadLanguage().value_or(texts::systemLanguage())),
      dialogs_(this),
      controller_(settings, dialogs_),
      keeper_(controller_, dialogs_),
      tick_(this),
      view_(new CKaimoView(controller_, this)),
      studyPane_(new StudyPane(controller_, this)),
      sounds_(new GameSounds(this)) {
  // The board on the left, taking what room there is; the move list and the
  // graph in a column on the right.
  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(view_, 1);
  row->addWidget(studyPane_);
  setCentralWidget(central);
  createActions();
  createMenus();
  createToolBar();
  createStatusBar();
  createRecentFiles();
  squareKeys_ = new SquareKeys(controller_, *this, *statusBar());
  loadToggles();
  setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
  connect(&dialogs_, &WindowDialogs::paneTextChanged, this, &CMainFrame::setPaneText);
  connect(&dialogs_, &WindowDialogs::stateChanged, this, &CMainFrame::gameChanged);
  connect(&dialogs_, &WindowDialogs::studyContentChanged, studyPane_, &StudyPane::refreshStudy);
  connect(&dialogs_, &WindowDialogs::gameEventHappened, sounds_, &GameSounds::play);
  tick_.setInterval(kTickMilliseconds);
  connect(&tick_, &QTimer::timeout, this, [this] { controller_.onTimer(); });
  // The book of the data folder; one that cannot be read is logged and the
  // computer then always searches.
  controller_.book().setBook(defaultOpeningBook());
  showLanguage();
  controller_.applyTimes(options::loadTimes());
  gameChanged();
}

// No tick may reach the controller while it goes; its workers stop with it.
CMainFrame::~CMainFrame() { tick_.stop(); }

QAction* CMainFrame::action(Command command) const {
  const auto found = actions_.find(command);
  return found == actions_.end() ? nullptr : found->second;
}

QLabel* CMainFrame::pane(int id) const {
  const int index = id - kFirstPaneId;
  return index >= 0 && index < static_cast<int>(panes_.size()) ? panes_[index] : nullptr;
}

void CMainFrame::createActions() {
  QActionGroup* languages = nullptr;  // one of them is chosen
  for (const CommandEntry& entry : commandTable()) {
    const int id = static_cast<int>(entry.command);
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    if (*entry.keys != '\0') action->setShortcut(QKeySequence(QString::fromLatin1(entry.keys)));
    action->setIconVisibleInMenu(false);
    if (entry.language) {
      action->setCheckable(true);
      if (languages == nullptr) languages = new QActionGroup(this);
      languages->addAction(action);
    }
    connect(action, &QAction::triggered, this, [this, &entry] { runCommand(entry); });
    // Keys work even for commands that are on no menu.
    addAction(action);
    actions_[entry.command] = action;
  }
}

void CMainFrame::runCommand(const CommandEntry& entry) {
  if (entry.run == nullptr || !isEnabled(entry)) return;
  if (entry.toggle) {
    applyToggle(entry, true);
  } else {
    entry.run(*this);
  }
  keeper_.update();  // the players may have changed without a change of the game
  updateActions();
}

bool CMainFrame::isEnabled(const CommandEntry& entry) const {
  return entry.enabled == nullptr || (controller_.*entry.enabled)();
}

void CMainFrame::applyToggle(const CommandEntry& entry, bool changed) {
  entry.run(*this);
  if (changed && entry.toggle->keptAs != nullptr)
    options::store(entry.toggle->keptAs, actions_[entry.command]->isChecked());
}

void CMainFrame::updateActions() {
  for (const CommandEntry& entry : commandTable()) {
    actions_[entry.command]->setEnabled(entry.run != nullptr && isEnabled(entry));
  }
}

void CMainFrame::createMenus() {
  for (const MenuLayout& layout : menuBarLayout()) {
    QMenu* menu = menuBar()->addMenu(QString());
    fillMenu(*menu, layout);
  }
}

void CMainFrame::fillMenu(QMenu& menu, const MenuLayout& layout) {
  menus_.emplace_back(&menu, layout.title);
  bool separatorPending = false;
  for (Command command : layout.entries) {
    if (command == Command::Separator) {
      separatorPending = !menu.isEmpty();
      continue;
    }
    if (separatorPending) menu.addSeparator();
    separatorPending = false;
    menu.addAction(actions_.at(command));
  }
  for (const MenuLayout& submenu : layout.submenus) {
    if (!menu.isEmpty()) menu.addSeparator();
    fillMenu(*menu.addMenu(QString()), submenu);
  }
}

void CMainFrame::createToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setIconSize(QSize(kToolBarIconSize, kToolBarIconSize));
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  for (Command command : toolBarLayout()) {
    if (command == Command::Separator) {
      toolBar_->addSeparator();
    } else {
      toolBar_->addAction(actions_.at(command));
    }
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
  connect(toolBar_, &QToolBar::visibilityChanged, actions_.at(Command::ToggleToolBar), &QAction::setChecked);
}

// The switches start as they were left (or as they come the first time),
// each taking effect as it is read.
void CMainFrame::loadToggles() {
  for (const CommandEntry& entry : commandTable()) {
    if (!entry.toggle) continue;
    QAction* action = actions_.at(entry.command);
    action->setCheckable(true);
    action->setChecked(entry.toggle->keptAs != nullptr ? options::load(entry.toggle->keptAs, entry.toggle->on)
                                                       : entry.toggle->on);
    applyToggle(entry, false);
  }
}

void CMainFrame::createStatusBar() {
  idleMessage_ = new QLabel(this);
  idleMessage_->setObjectName(QStringLiteral("idleMessage"));
  statusBar()->addWidget(idleMessage_, 1);
  for (std::size_t i = 0; i < panes_.size(); ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("pane%1").arg(kFirstPaneId + static_cast<int>(i)));
    label->setFixedWidth(paneWidth(*label, static_cast<int>(i)));
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // As tall as the Japanese texts will need, so the window does not jump
    // when the first one arrives; and of a fixed size, so that a new text
    // (ten a second while the computer thinks) does not lay out the whole
    // window again.
    label->setText(QString::fromUtf8(texts::kStopped.japanese));
    label->setFixedHeight(label->sizeHint().height());
    label->setText(QStringLiteral(" "));
    statusBar()->addPermanentWidget(label);
    panes_[i] = label;
  }
}

void CMainFrame::createRecentFiles() {
  QAction* placeholder = actions_.at(Command::RecentFiles);
  for (QObject* owner : placeholder->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(owner)) {
      recentFiles_ = new RecentFiles(*menu, *placeholder, this);
      break;
    }
  }
  connect(recentFiles_, &RecentFiles::openRequested, this, &CMainFrame::openRecent);
}

void CMainFrame::openRecent(const QString& path) {
  if (!controller_.openRecordFile(QFile::encodeName(path).toStdString())) recentFiles_->remove(path);
  updateActions();
}

// The board is drawn again, and everything that follows the game follows.
void CMainFrame::gameChanged() {
  keeper_.update();
  view_->followGame();
  view_->update();
  studyPane_->refresh();
  updateActions();
  showRecordName();
}

void CMainFrame::showRecordName() {
  const std::string& path = controller_.game().recordPath();
  if (shownRecordPath_ == path) return;
  shownRecordPath_ = path;
  const QString name = QFile::decodeName(QByteArray::fromStdString(path));
  document_.setRecordPath(name);
  setWindowTitle(document_.title(language_) + QStringLiteral(" - ") + QString::fromUtf8(product::kName));
  if (!name.isEmpty()) recentFiles_->add(name);
}

void CMainFrame::setLanguage(Language language) {
  if (language == language_) return;
  language_ = language;
  options::storeLanguage(language);
  showLanguage();
}

void CMainFrame::showLanguage() {
  useQtLanguage(language_);
  for (const CommandEntry& entry : commandTable()) {
    QAction* action = actions_.at(entry.command);
    action->setText(text(entry.text));
    const QStringList prompt = text(entry.prompt).split(QLatin1Char('\n'));
    action->setStatusTip(prompt.value(0));
    action->setToolTip(prompt.value(1, prompt.value(0)));
    if (!entry.glyph.empty()) action->setIcon(toolbarIcon(text(entry.glyph)));
    if (entry.language) action->setChecked(*entry.language == language_);
  }
  for (const auto& [menu, title] : menus_) menu->setTitle(text(title));
  toolBar_->setWindowTitle(text(texts::kToolBarTitle));
  QString idleText = QString::fromUtf8(product::kTitleLine);
  // Said from the start, not only when a game of "狐" stops with the
  // evaluation error; the routine stays selectable.
  if (defaultPatternData()->failed()) idleText += text(texts::kIdleSeparator) + text(texts::kFoxDataMissing);
  idleMessage_->setText(idleText);
  dialogs_.setLanguage(language_);
  studyPane_->setLanguage(language_);
  view_->setLanguage(language_);
  squareKeys_->setLanguage(language_);
  shownRecordPath_.reset();
  showRecordName();
}

bool CMainFrame::keepGameIn(const std::string& path) {
  const bool keeping = keeper_.start(path);
  updateActions();
  return keeping;
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!tick_.isActive()) tick_.start();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (controller_.mayDiscardGame()) {
    options::storeWindowGeometry(saveGeometry());
    event->accept();
  } else {
    event->ignore();
  }
  updateActions();
}

void CMainFrame::setPaneText(int pane, const QString& text) {
  if (QLabel* label = this->pane(kFirstPaneId + pane)) label->setText(text);
}

// The dialog edits a copy; the game is stopped first so that no search reads
// the settings while they change.
void CMainFrame::showPlayerSettings() {
  controller_.stopThinking();
  CPlayerSettingsDialog dialog(controller_.settings(), controller_.times(), this, language_);
  if (dialog.exec() != QDialog::Accepted) return;
  controller_.applySettings(dialog.settings());
  controller_.applyTimes(dialog.times());
  options::storeTimes(dialog.times());
  view_->update();
}

void CMainFrame::showAbout() {
  CAboutBox box(this, language_);
  box.exec();
}

}  // namespace kaimo
