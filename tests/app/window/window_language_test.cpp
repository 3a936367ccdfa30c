// The window in Japanese and in English: switching while the computer plays
// keeps the game and changes every text at once.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

#include "app/texts/japanese.h"
#include "app/window/commands.h"
#include "app/window/main_frame.h"
#include "app/window/window_options.h"

namespace kaimo {
namespace {

// Both sides "狸", reading a few plies: a game that goes on by itself.
PlayerSettings twoComputers() {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = s.white.routine = 1;
  s.black.normalDepth = s.white.normalDepth = 4;
  s.black.exactDepth = s.white.exactDepth = 6;
  return s;
}

bool hasJapanese(const QString& text) { return texts::containsJapanese(text.toStdString()); }

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
  PlayerSettings settings_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace kaimo

QTEST_MAIN(kaimo::WindowLanguageTest)
#include "window_language_test.moc"
