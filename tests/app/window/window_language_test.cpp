// The window in Japanese and in English. A walk through every command that
// opens a dialog or a message, the panes, the column beside the board and a
// reviewed game, reading every text on the way: in English none may hold
// Japanese; in Japanese they are the catalogue's. Switching while the
// computer plays keeps the game and changes every text at once.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <memory>

#include "app/controller/game_texts.h"
#include "app/records/record_status.h"
#include "app/texts/japanese.h"
#include "app/window/commands.h"
#include "app/window/main_frame.h"
#include "app/window/study_pane.h"
#include "app/window/window_options.h"
#include "app/window/window_texts.h"
#include "tests/common/test_boards.h"

namespace kaimo {
namespace {

using testing::nearlyFullBoard;

// Both sides "狸", reading a few plies: a game that goes on by itself.
PlayerSettings twoComputers() {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = s.white.routine = 1;
  s.black.normalDepth = s.white.normalDepth = 4;
  s.black.exactDepth = s.white.exactDepth = 6;
  return s;
}

bool hasJapanese(const QString& text) { return texts::containsJapanese(text.toStdString()); }

// Every text a widget and its children show: titles, labels, buttons, list
// and combo entries, tool tips.
void collectTexts(const QWidget& widget, QStringList& out) {
  out << widget.windowTitle() << widget.toolTip() << widget.statusTip();
  if (auto* label = qobject_cast<const QLabel*>(&widget)) out << label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) out << button->text();
  if (auto* box = qobject_cast<const QGroupBox*>(&widget)) out << box->title();
  if (auto* edit = qobject_cast<const QLineEdit*>(&widget)) out << edit->placeholderText();
  if (auto* combo = qobject_cast<const QComboBox*>(&widget)) {
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
  }
  if (auto* list = qobject_cast<const QListWidget*>(&widget)) {
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  }
  if (auto* menu = qobject_cast<const QMenu*>(&widget)) out << menu->title();
  for (const QWidget* child : widget.findChildren<const QWidget*>(Qt::FindDirectChildrenOnly))
    collectTexts(*child, out);
}

// What a walk saw: every text, and the messages and dialogs' titles.
struct Seen {
  QStringList texts;
  QStringList messages;
  QStringList dialogTitles;
};

}  // namespace

class WindowLanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
  }

  void init() {
    settings_ = twoComputers();
    frame_ = std::make_unique<CMainFrame>(settings_);
    frame_->dialogs().setMessageHandler([](const QString&) {});
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void cleanup() {
    frame_.reset();
    QSettings().clear();
  }

  void theEnglishWindowHoldsNoJapanese() {
    frame_->setLanguage(Language::English);
    Seen seen;
    walk(seen);
    if (QTest::currentTestFailed()) return;
    QStringList left;
    for (const QString& text : seen.texts) {
      if (hasJapanese(text) && text != QString::fromUtf8(texts::languageName(Language::Japanese))) left << text;
    }
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral(" | "))));
    checkMessagesAreTheCatalogues(seen, Language::English);
  }

  void theJapaneseWindowSaysWhatTheCatalogueSays() {
    Seen seen;
    walk(seen);
    if (QTest::currentTestFailed()) return;
    for (const CommandEntry& entry : CMainFrame::commandTable()) {
      QAction* action = frame_->action(entry.command);
      QCOMPARE(action->text(), QString::fromUtf8(entry.text.japanese));
      const QStringList prompt = QString::fromUtf8(entry.prompt.japanese).split(QLatin1Char('\n'));
      QCOMPARE(action->statusTip(), prompt.value(0));
      if (!entry.prompt.empty()) QCOMPARE(action->toolTip(), prompt.value(1, prompt.value(0)));
    }
    QStringList titles;
    for (QAction* menu : frame_->menuBar()->actions()) titles << menu->text();
    for (const MenuLayout& menu : menuBarLayout()) QVERIFY(titles.contains(QString::fromUtf8(menu.title.japanese)));
    for (const texts::SideTexts& side : texts::kSideTexts) {
      for (const texts::Text* label :
           {&side.title, &side.routine, &side.normalDepth, &side.exactDepth, &side.winDepth}) {
        QVERIFY2(seen.texts.contains(QString::fromUtf8(label->japanese)), label->japanese);
      }
    }
    checkMessagesAreTheCatalogues(seen, Language::Japanese);
  }

  void switchingDuringAComputerGameKeepsTheGameAndChangesTheTexts() {
    QCOMPARE(frame_->language(), Language::Japanese);
    frame_->action(Command::Start)->trigger();
    const auto played = [this] { return frame_->controller().game().history().size(); };
    QTRY_VERIFY_WITH_TIMEOUT(played() >= 3, 60000);
    QVERIFY(hasJapanese(frame_->action(Command::Start)->text()));

    frame_->action(Command::EnglishLanguage)->trigger();
    QCOMPARE(frame_->language(), Language::English);
    QVERIFY(frame_->action(Command::EnglishLanguage)->isChecked());
    QVERIFY(!frame_->action(Command::JapaneseLanguage)->isChecked());
    QCOMPARE(frame_->action(Command::Start)->text(), QStringLiteral("&Begin Game"));
    QCOMPARE(frame_->menuBar()->actions().front()->text(), QStringLiteral("&File"));
    for (int id = kFirstPaneId; id < kFirstPaneId + 3; ++id) {
      QVERIFY2(!hasJapanese(frame_->pane(id)->text()), qPrintable(frame_->pane(id)->text()));
    }
    // The game goes on: the computer moves again, and its panes speak English.
    const std::size_t atSwitch = played();
    QTRY_VERIFY_WITH_TIMEOUT(played() >= atSwitch + 2 || frame_->controller().mode() == ViewMode::Idle, 60000);
    QVERIFY(played() >= atSwitch + 2);
    for (int id = kFirstPaneId; id < kFirstPaneId + 3; ++id) {
      QVERIFY2(!hasJapanese(frame_->pane(id)->text()), qPrintable(frame_->pane(id)->text()));
    }

    // Kept, and back again.
    QCOMPARE(options::loadLanguage(), std::optional<Language>(Language::English));
    frame_->action(Command::JapaneseLanguage)->trigger();
    QCOMPARE(frame_->action(Command::Start)->text(), QString::fromUtf8("対局を開始(&B)"));
    QCOMPARE(options::loadLanguage(), std::optional<Language>(Language::Japanese));
  }

  // A window made after the choice starts in it.
  void theChoiceIsKeptForTheNextWindow() {
    frame_->setLanguage(Language::English);
    frame_.reset();
    frame_ = std::make_unique<CMainFrame>(settings_);
    QCOMPARE(frame_->language(), Language::English);
    QCOMPARE(frame_->action(Command::Start)->text(), QStringLiteral("&Begin Game"));
  }

 private:
  // Every command that opens a dialog or a message, each dialog and box
  // read and closed as it opens; the hint; then a game played to its end
  // and reviewed. Everything the window showed on the way.
  void walk(Seen& seen) {
    QTimer closer;
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, this, [&seen] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      collectTexts(*dialog, seen.texts);
      seen.dialogTitles << dialog->windowTitle();
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) seen.messages << box->text();
      dialog->reject();
    });
    closer.start();
    frame_->dialogs().setMessageHandler(nullptr);  // the real boxes, with Qt's buttons
    QGuiApplication::clipboard()->setText(QStringLiteral("no record"));
    using C = Command;
    for (C command : {C::OpenRecord, C::SaveRecord, C::SaveBoardPicture, C::PasteRecord, C::PlayerSettings,
                      C::ClearBoard, C::EvaluationValues, C::EndgameAnalysis, C::About}) {
      frame_->action(command)->trigger();
    }
    frame_->action(C::Hint)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(frame_->controller().study().bestSquare() >= 0, 30000);
    readWindow(seen);

    // A game to its end, its final count and its review.
    GameController& game = frame_->controller();
    game.clearHistory();
    game.appendHistory(HistoryEntry{kBlack, -1, nearlyFullBoard()});
    game.goToPosition(0);
    settings_ = twoComputers();
    frame_->action(C::Start)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(game.mode() == ViewMode::Idle && !game.gameSummary().empty() &&
                                 game.gameSummary().japanese.find("/") == std::string::npos,
                             60000);
    QTRY_VERIFY(frame_->studyPane()->summary()->isVisible());
    readWindow(seen);
    closer.stop();
  }

  void readWindow(Seen& seen) {
    collectTexts(*frame_, seen.texts);
    for (QAction* action : frame_->findChildren<QAction*>()) {
      seen.texts << action->text() << action->toolTip() << action->statusTip();
    }
    seen.texts << frame_->statusBar()->currentMessage();
  }

  // The messages the walk met are the catalogue's, in the window's language.
  void checkMessagesAreTheCatalogues(const Seen& seen, Language language) {
    for (const texts::Text* text :
         {&texts::kAnalysisRefused, &texts::kClearBoardQuestion, &recordStatusText(RecordStatus::NotARecord)}) {
      QVERIFY2(seen.messages.contains(QString::fromUtf8(text->in(language))), text->in(language));
    }
    QVERIFY(seen.dialogTitles.contains(QString::fromUtf8(texts::kPlayersTitle.in(language))));
    QVERIFY(seen.dialogTitles.contains(QString::fromUtf8(texts::kAboutTitle.in(language))));
    QVERIFY(seen.dialogTitles.contains(QString::fromUtf8(texts::kOpenRecordTitle.in(language))));
    const QString heading = QString::fromUtf8(texts::kEvaluationHeading.in(language));
    QVERIFY(std::any_of(seen.messages.begin(), seen.messages.end(),
                        [&](const QString& m) { return m.startsWith(heading); }));
    // The summary's moves are links: its words with the markup taken out.
    const QString summary = QString::fromStdString(frame_->controller().gameSummary().in(language));
    QVERIFY(std::any_of(seen.texts.begin(), seen.texts.end(), [&](QString shown) {
      static const QRegularExpression markup(QStringLiteral("<[^>]*>"));
      return shown.replace(QStringLiteral("<br>"), QStringLiteral("\n")).remove(markup) == summary;
    }));
  }

  PlayerSettings settings_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace kaimo

QTEST_MAIN(kaimo::WindowLanguageTest)
#include "window_language_test.moc"
