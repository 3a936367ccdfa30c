// The window's commands under the offscreen platform: every command of the
// vocabulary with its menu, text, key, prompts and enabling in each mode;
// keys reaching their commands; editing with the mouse; the record commands
// with their file dialogs; and the settings command's OK and Cancel.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "app/settings/settings_words.h"
#include "app/window/artwork.h"
#include "app/window/board_geometry.h"
#include "app/window/commands.h"
#include "app/window/game_sounds.h"
#include "app/window/main_frame.h"
#include "app/window/player_settings_dialog.h"
#include "app/window/study_pane.h"
#include "app/window/window_options.h"

namespace kaimo {
namespace {

using namespace geometry;

// The modes a command's enabling is checked in, in table column order.
enum ModeColumn { kIdle, kNextTurn, kPlaying, kBusy, kEditing, kModeColumns };
constexpr const char* kModeNames[kModeColumns] = {"Idle", "NextTurn", "Playing", "Busy", "Editing"};

// Both sides human, so a started game waits for a click and stays put.
PlayerSettings twoHumans() {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = 0;
  s.white.routine = 0;
  return s;
}

QPoint squareCentre(int square) { return {squareLeft(square) + kCell / 2, squareTop(square) + kCell / 2}; }
QPoint indicatorPoint(int top) { return {kIndicatorX + kCell / 2, top + kCell / 2}; }
// Inside the left bar of a cell's frame.
QPoint framePoint(int left, int top) { return {left + 1, top + kCell / 2}; }

Board initialBoard() {
  Board b;
  boardInit(b);
  return b;
}

// 39 empty squares with both colours mixed in: its analysis runs far longer
// than any test, so the window stays busy until it is paused.
Board slowAnalysisBoard() {
  Board b;
  b.fill(kEmpty);
  for (int s = 0; s < 61; ++s) b[s] = static_cast<std::int8_t>((s / 3 + s % 2) % 2);
  return b;
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

}  // namespace

class WindowCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  // The recent files live in Qt's settings: the tests' own, empty at start.
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
  }

  void init() {
    settings_ = twoHumans();
    messages_.clear();
    questions_.clear();
    frame_ = std::make_unique<CMainFrame>(settings_);
    frame_->dialogs().setMessageHandler([this](const QString& text) { messages_ << text; });
    frame_->dialogs().setQuestionHandler([this](const QString& text) {
      questions_ << text;
      return answerYes_;
    });
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void cleanup() { frame_.reset(); }

  // Each command once in the table, with a handler (but the placeholder of
  // the recent files), on a menu, and on the toolbar exactly when it has a
  // glyph; the menus and the toolbar built from their layouts.
  void everyCommandIsDeclaredOnceWithItsHandler() {
    QSet<Command> declared;
    for (const CommandEntry& entry : CMainFrame::commandTable()) {
      QVERIFY2(!declared.contains(entry.command), entry.text.japanese);
      declared.insert(entry.command);
      QVERIFY2((entry.run == nullptr) == (entry.command == Command::RecentFiles), entry.text.japanese);
      QVERIFY(frame_->action(entry.command) != nullptr);
    }
    QSet<Command> onMenus;
    const QList<QAction*> menus = frame_->menuBar()->actions();
    QCOMPARE(menus.size(), static_cast<qsizetype>(menuBarLayout().size()));
    for (int i = 0; i < menus.size(); ++i) {
      QCOMPARE(menus[i]->text(), QString::fromUtf8(menuBarLayout()[i].title.japanese));
      QList<Command> shown;
      QList<QMenu*> submenus;
      for (QAction* entry : menus[i]->menu()->actions()) {
        if (entry->menu() != nullptr) {
          submenus << entry->menu();
        } else if (entry->isVisible() && submenus.isEmpty()) {
          shown << (entry->isSeparator() ? Command::Separator : static_cast<Command>(entry->data().toInt()));
        }
      }
      // A line stands between the entries and the submenus.
      if (!submenus.isEmpty() && !shown.isEmpty() && shown.back() == Command::Separator) shown.removeLast();
      QCOMPARE(shown, QList<Command>(menuBarLayout()[i].entries.begin(), menuBarLayout()[i].entries.end()));
      QCOMPARE(submenus.size(), static_cast<qsizetype>(menuBarLayout()[i].submenus.size()));
      for (QMenu* submenu : submenus) {
        for (QAction* entry : submenu->actions()) onMenus.insert(static_cast<Command>(entry->data().toInt()));
      }
      for (Command command : shown) onMenus.insert(command);
    }
    onMenus.remove(Command::Separator);
    QCOMPARE(onMenus, declared);
    QSet<Command> onToolBar(toolBarLayout().begin(), toolBarLayout().end());
    onToolBar.remove(Command::Separator);
    for (const CommandEntry& entry : CMainFrame::commandTable()) {
      QVERIFY2(onToolBar.contains(entry.command) == !entry.glyph.empty(), entry.text.japanese);
      QVERIFY2(!frame_->action(entry.command)->icon().isNull() == !entry.glyph.empty(), entry.text.japanese);
    }
    QVERIFY(!frame_->action(Command::RecentFiles)->isEnabled());
  }

  void keysAreUnique() {
    QSet<QKeySequence> keys;
    for (QAction* action : frame_->actions()) {
      if (action->shortcut().isEmpty()) continue;
      QVERIFY2(!keys.contains(action->shortcut()), qPrintable(action->shortcut().toString()));
      keys.insert(action->shortcut());
    }
    QVERIFY(keys.size() > 10);
  }

  // In every mode each command is enabled exactly when the controller's
  // rule allows it (the keys of those that are not do nothing: below).
  void enablingFollowsTheControllerInEveryMode() {
    for (int mode = 0; mode < kModeColumns; ++mode) {
      enterMode(static_cast<ModeColumn>(mode));
      for (const CommandEntry& entry : CMainFrame::commandTable()) {
        const bool allowed = entry.run != nullptr && (entry.enabled == nullptr || (game().*entry.enabled)());
        QAction* action = frame_->action(entry.command);
        QVERIFY2(action->isEnabled() == allowed,
                 qPrintable(QString("%1 %2").arg(kModeNames[mode], QString::fromUtf8(entry.text.japanese))));
      }
      leaveMode();
    }
  }

  void stepsAreEnabledOnlyWhereThereIsSomewhereToGo() {
    setThreeEntryHistory(0);
    QVERIFY(!frame_->action(Command::Previous)->isEnabled());
    QVERIFY(frame_->action(Command::Next)->isEnabled());
    game().goToLast();
    QVERIFY(frame_->action(Command::Previous)->isEnabled());
    QVERIFY(!frame_->action(Command::Next)->isEnabled());
  }

  void keysRunTheirCommandsOnlyWhenEnabled() {
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    setThreeEntryHistory(1);
    QTest::keyClick(frame_.get(), Qt::Key_Left);
    QCOMPARE(game().game().cursor(), 0);
    QTest::keyClick(frame_.get(), Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(game().game().cursor(), 2);
    QTest::keyClick(frame_.get(), Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(game().game().cursor(), 0);
    QTest::keyClick(frame_.get(), Qt::Key_Right);
    QCOMPARE(game().game().cursor(), 1);

    QTest::keyClick(frame_.get(), Qt::Key_K, Qt::ControlModifier);  // the analysis: busy
    QCOMPARE(game().mode(), ViewMode::Busy);
    QTest::keyClick(frame_.get(), Qt::Key_Left);
    QCOMPARE(game().game().cursor(), 1);
    QTest::keyClick(frame_.get(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(game().mode(), ViewMode::Busy);
    QTest::keyClick(frame_.get(), Qt::Key_G, Qt::ControlModifier);  // pause
    QCOMPARE(game().mode(), ViewMode::Idle);
    QTest::keyClick(frame_.get(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(game().mode(), ViewMode::Editing);
  }

  void editingClicksSetTheSquares() {
    frame_->action(Command::EditBoard)->trigger();
    QCOMPARE(game().mode(), ViewMode::Editing);
    QCOMPARE(frame_->pane(kFirstPaneId)->text(), QString("盤面編集"));
    QWidget* view = frame_->view();
    const int empty = squareAt(0, 0);
    const int white = squareAt(4, 4);
    QTest::mouseClick(view, Qt::LeftButton, {}, squareCentre(empty));
    QCOMPARE(game().game().board()[empty], kBlack);
    QTest::mouseClick(view, Qt::LeftButton, {}, squareCentre(empty));
    QCOMPARE(game().game().board()[empty], kEmpty);
    QTest::mouseClick(view, Qt::LeftButton, {}, squareCentre(white));
    QCOMPARE(game().game().board()[white], kBlack);
    QTest::mouseClick(view, Qt::RightButton, {}, squareCentre(white));
    QCOMPARE(game().game().board()[white], kWhite);
    // A double-click as Qt delivers it (the double-click event is the second
    // press) edits twice: a new disc and then the next state.
    const auto doubleClick = [view](int square, Qt::MouseButton button) {
      const QPoint at = squareCentre(square);
      sendMouse(view, QEvent::MouseButtonPress, at, button, button);
      sendMouse(view, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
      sendMouse(view, QEvent::MouseButtonDblClick, at, button, button);
      sendMouse(view, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    };
    doubleClick(empty, Qt::LeftButton);
    QCOMPARE(game().game().board()[empty], kEmpty);
    QTest::mouseClick(view, Qt::LeftButton, {}, squareCentre(empty));
    doubleClick(empty, Qt::RightButton);  // a black disc: white, then empty
    QCOMPARE(game().game().board()[empty], kEmpty);
    doubleClick(white, Qt::LeftButton);  // a white disc: black, then empty
    QCOMPARE(game().game().board()[white], kEmpty);
    // Every square is drawn highlighted while editing.
    const QImage image = view->grab().toImage();
    QCOMPARE(image.pixelColor(squareLeft(99) + 5, squareTop(99) + 5), palette::kCyanGround);
  }

  void editingIndicatorsChooseTheSideToMove() {
    frame_->action(Command::EditBoard)->trigger();
    QWidget* view = frame_->view();
    QTest::mouseClick(view, Qt::RightButton, {}, indicatorPoint(kWhiteIndicatorY));
    QCOMPARE(game().game().side(), kBlack);
    QTest::mouseClick(view, Qt::LeftButton, {}, indicatorPoint(kWhiteIndicatorY));
    QCOMPARE(game().game().side(), kWhite);
    const QImage image = view->grab().toImage();
    QCOMPARE(image.pixelColor(framePoint(kIndicatorX, kWhiteIndicatorY)), palette::kFrameYellow);
    QVERIFY(image.pixelColor(framePoint(kIndicatorX, kBlackIndicatorY)) != palette::kFrameYellow);
  }

  void editingDragsPaintALine() {
    frame_->action(Command::EditBoard)->trigger();
    QWidget* view = frame_->view();
    const int row = 2;
    sendMouse(view, QEvent::MouseButtonPress, squareCentre(squareAt(0, row)), Qt::LeftButton, Qt::LeftButton);
    for (int column = 0; column < 5; ++column) {
      const QPoint centre = squareCentre(squareAt(column, row));
      for (int dx : {-6, 0, 6}) {  // several moves within each square
        sendMouse(view, QEvent::MouseMove, centre + QPoint(dx, 0), Qt::NoButton, Qt::LeftButton);
      }
    }
    sendMouse(view, QEvent::MouseButtonRelease, squareCentre(squareAt(4, row)), Qt::LeftButton, Qt::NoButton);
    for (int column = 0; column < 5; ++column) QCOMPARE(game().game().board()[squareAt(column, row)], kBlack);
    QCOMPARE(game().game().board()[squareAt(5, row)], kEmpty);

    // The right button paints white over them; a move without a button does nothing.
    sendMouse(view, QEvent::MouseButtonPress, squareCentre(squareAt(0, row)), Qt::RightButton, Qt::RightButton);
    sendMouse(view, QEvent::MouseMove, squareCentre(squareAt(1, row)), Qt::NoButton, Qt::RightButton);
    sendMouse(view, QEvent::MouseButtonRelease, squareCentre(squareAt(1, row)), Qt::RightButton, Qt::NoButton);
    sendMouse(view, QEvent::MouseMove, squareCentre(squareAt(2, row)), Qt::NoButton, Qt::NoButton);
    QCOMPARE(game().game().board()[squareAt(0, row)], kWhite);
    QCOMPARE(game().game().board()[squareAt(1, row)], kWhite);
    QCOMPARE(game().game().board()[squareAt(2, row)], kBlack);
  }

  void clicksOutsideEditingDoNotEdit() {
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, squareCentre(0));
    QTest::mouseClick(frame_->view(), Qt::RightButton, {}, squareCentre(1));
    QCOMPARE(game().game().board(), initialBoard());
  }

  void clearingAsksAndNoKeepsTheGame() {
    setThreeEntryHistory(2);
    answerYes_ = false;
    frame_->action(Command::ClearBoard)->trigger();
    QCOMPARE(questions_, QStringList{"盤面をクリアしてゲーム開始時の状態に戻します。よろしいですか？"});
    QCOMPARE(game().game().history().size(), std::size_t(3));
    answerYes_ = true;
    frame_->action(Command::ClearBoard)->trigger();
    QCOMPARE(game().game().history().size(), std::size_t(1));
    QCOMPARE(game().game().board(), initialBoard());
    QVERIFY(!frame_->action(Command::Previous)->isEnabled());
  }

  // 新 with moves not saved offers to save them first; saved, the board clears.
  void clearingAnUnsavedGameOffersToSaveIt() {
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    MoveMarks marks;
    boardLegalMarks(game().game().board(), game().game().side(), marks);
    game().clickSquare(static_cast<int>(std::find(marks.begin(), marks.end(), 1) - marks.begin()));
    QTRY_COMPARE(game().game().cursor(), 1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("新しい.txt"));
    frame_->dialogs().setFileChooser([&](RecordFileUse) { return path; });
    QStringList offered;
    frame_->dialogs().setChoiceHandler([&](const QString& text) {
      offered << text;
      return Answer::Yes;
    });
    frame_->action(Command::ClearBoard)->trigger();
    QCOMPARE(offered.size(), 1);
    QVERIFY(questions_.isEmpty());
    QVERIFY(QFile::exists(path));
    QCOMPARE(game().game().history().size(), std::size_t(1));
  }

  void openShowsTheRecordsFirstPosition() {
    QTemporaryDir dir;
    const QString path = dir.filePath("game.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("d5d4d3c3");
    file.close();
    QList<RecordFileUse> asked;
    frame_->dialogs().setFileChooser([&](RecordFileUse use) {
      asked << use;
      return path;
    });
    frame_->action(Command::OpenRecord)->trigger();
    QCOMPARE(asked, QList<RecordFileUse>{RecordFileUse::Open});
    QCOMPARE(game().game().history().size(), std::size_t(5));
    QCOMPARE(game().game().cursor(), 0);
    QCOMPARE(game().game().board(), initialBoard());
    QVERIFY(frame_->action(Command::Next)->isEnabled());
    QVERIFY(!frame_->action(Command::Previous)->isEnabled());
    QVERIFY(messages_.isEmpty());
  }

  void openTellsUnreadableAndBrokenFiles() {
    QTemporaryDir dir;
    QString path = dir.filePath("missing.txt");
    frame_->dialogs().setFileChooser([&](RecordFileUse) { return path; });
    frame_->action(Command::OpenRecord)->trigger();
    QCOMPARE(messages_, QStringList{"ファイルが開けません。"});
    path = dir.filePath("broken.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("d5d4t1");
    file.close();
    frame_->action(Command::OpenRecord)->trigger();
    QCOMPARE(messages_.last(), QString("正しくない棋譜です。"));
    QCOMPARE(game().game().history().size(), std::size_t(3));
    QCOMPARE(game().game().cursor(), 0);
  }

  void saveWritesTheRecordUnderAUnicodeName() {
    QTemporaryDir dir;
    const QString path = dir.filePath("対局.txt");
    frame_->dialogs().setFileChooser([&](RecordFileUse use) { return use == RecordFileUse::Save ? path : QString(); });
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, squareCentre(squareAt(3, 4)));  // d5
    QTRY_COMPARE(game().game().history().size(), std::size_t(2));
    frame_->action(Command::SaveRecord)->trigger();
    QCOMPARE(game().mode(), ViewMode::Idle);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("d5"));
    QVERIFY(messages_.isEmpty());
  }

  void recordDialogsOfferTextFilesAndConfirmOverwriting() {
    for (RecordFileUse use : {RecordFileUse::Open, RecordFileUse::Save}) {
      QFileDialog* seen = nullptr;
      QTimer::singleShot(0, this, [&] {
        seen = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (seen == nullptr) return;
        QCOMPARE(seen->nameFilters(), (QStringList{"テキストファイル(*.txt)", "全てのファイル(*.*)"}));
        QCOMPARE(seen->defaultSuffix(), QString("txt"));
        QCOMPARE(seen->acceptMode(), use == RecordFileUse::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        QVERIFY(!seen->testOption(QFileDialog::DontConfirmOverwrite));
        QVERIFY(seen->selectedFiles().value(0).isEmpty() || QFileInfo(seen->selectedFiles().value(0)).isDir());
        seen->reject();
      });
      const Board before = game().game().board();
      frame_->action(use == RecordFileUse::Open ? Command::OpenRecord : Command::SaveRecord)->trigger();
      QVERIFY(seen != nullptr);
      QCOMPARE(game().game().board(), before);
    }
  }

  void settingsOkStoresTheDialogsWordsAndCancelNothing() {
    SettingsWords words = settingsToWords(settings_);
    words[5] = 55;
    settings_ = settingsFromWords(words);
    settings_.black.cutConfidence = 1500;
    const PlayerSettings before = settings_;
    runSettingsDialog([](CPlayerSettingsDialog& dialog) {
      static_cast<QListWidget*>(dialog.control(dialog141::kBlackRoutines))->setCurrentRow(2);
      dialog.reject();
    });
    QVERIFY(settings_ == before);

    runSettingsDialog([](CPlayerSettingsDialog& dialog) {
      static_cast<QListWidget*>(dialog.control(dialog141::kBlackRoutines))->setCurrentRow(2);
      static_cast<QPushButton*>(dialog.control(1))->click();
    });
    QCOMPARE(settings_.black.routine, 2);
    QCOMPARE(settingsToWords(settings_)[5], 0);
    QCOMPARE(settings_.black.cutConfidence, 1500);  // the dialog shows the ProbCut words and keeps them
    QCOMPARE(settingsToWords(settings_)[20], settingsToWords(before)[20]);
  }

  // On at first; the choice reaches the game at once and the next window,
  // and stays out of the players' settings.
  void theBookChoiceIsKeptBetweenWindows() {
    const PlayerSettings before = settings_;
    QAction* useBook = frame_->action(Command::UseBook);
    QVERIFY(useBook->isCheckable());
    QVERIFY(useBook->isChecked());
    QVERIFY(game().book().enabled());
    useBook->trigger();
    QVERIFY(!game().book().enabled());
    frame_ = std::make_unique<CMainFrame>(settings_);
    QVERIFY(!frame_->action(Command::UseBook)->isChecked());
    QVERIFY(!game().book().enabled());
    frame_->action(Command::UseBook)->trigger();
    QVERIFY(game().book().enabled());
    QVERIFY(settings_ == before);
  }

  // A window closed at one size opens at it next time; damaged kept data
  // leave the window where it places itself.
  void theWindowSizeIsKeptBetweenWindows() {
    frame_->resize(1203, 817);
    QVERIFY(frame_->close());
    CMainFrame next(settings_);
    QVERIFY(next.restoreGeometry(options::loadWindowGeometry()));
    QCOMPARE(next.size(), QSize(1203, 817));
    options::storeWindowGeometry(QByteArray("not a geometry"));
    QVERIFY(!next.restoreGeometry(options::loadWindowGeometry()));
  }

  // Off, a human's legal squares look like any empty square; the choice is
  // kept between windows.
  void legalMovesCanBeHidden() {
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    MoveMarks marks;
    boardLegalMarks(game().game().board(), game().game().side(), marks);
    const int legal = static_cast<int>(std::find(marks.begin(), marks.end(), 1) - marks.begin());
    const int plain =
        static_cast<int>(std::find(marks.begin(), marks.end(), 0) - marks.begin());  // a1: empty, not legal
    QVERIFY(legal < kSquareCount && game().game().board()[plain] == kEmpty);
    const auto corner = [](int square) { return QPoint(squareLeft(square) + 3, squareTop(square) + 3); };
    const auto colourAt = [&](int square) { return frame_->view()->grab().toImage().pixelColor(corner(square)); };
    QVERIFY(colourAt(legal) != colourAt(plain));
    QAction* show = frame_->action(Command::ShowLegalMoves);
    QVERIFY(show->isChecked());
    show->trigger();
    QCOMPARE(colourAt(legal), colourAt(plain));
    frame_ = std::make_unique<CMainFrame>(settings_);
    QVERIFY(!frame_->action(Command::ShowLegalMoves)->isChecked());
    frame_->action(Command::ShowLegalMoves)->trigger();
  }

  void settingsStopTheGameFirst() {
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    ViewMode during = ViewMode::Playing;
    runSettingsDialog([&](CPlayerSettingsDialog& dialog) {
      during = game().mode();
      dialog.reject();
    });
    QCOMPARE(during, ViewMode::Idle);
    QCOMPARE(frame_->pane(kFirstPaneId)->text(), QString("停止"));
  }

  void evaluationValuesAreShownWithoutStopping() {
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    frame_->action(Command::EvaluationValues)->trigger();
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].contains("\n狸 +0.00点"));
    QCOMPARE(game().mode(), ViewMode::Playing);
  }

  void analysisValuesAppearOnTheBoard() {
    // Black to move with one empty square left in the corner: j10 takes j9.
    Board board;
    for (int s = 0; s < kSquareCount; ++s) board[s] = s < 56 ? kBlack : kWhite;
    board[99] = kEmpty;
    board[97] = kBlack;
    setPosition(board, kBlack);
    frame_->action(Command::EndgameAnalysis)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Idle);
    QVERIFY(game().study().squareValues()[99] != SCORE_NONE);
    // The only move is the best one: its value stands out as after a hint.
    QCOMPARE(game().study().bestSquare(), 99);
    const QImage image = frame_->view()->grab().toImage();
    const QPoint valueCorner(squareLeft(99) + kValueOffsetX + 1, squareTop(99) + kValueOffsetY + 1);
    QCOMPARE(image.pixelColor(valueCorner), palette::kFrameYellow);
  }

  // Squares typed anywhere in the window, here in the move list (which would
  // take letters as a search of its rows), play like clicks on a human's
  // turn; "j1" waits for a 0 and shows in the status bar meanwhile.
  void typedSquaresPlayOnAHumansTurn() {
    Board board;
    board.fill(kEmpty);
    board[squareAt(9, 7)] = kBlack;  // j8, j9: black may play j10
    board[squareAt(9, 8)] = kWhite;
    board[squareAt(3, 2)] = kBlack;  // d3, d4: black d5, white d2
    board[squareAt(3, 3)] = kWhite;
    setPosition(board, kBlack);
    QWidget* list = frame_->studyPane()->moveList();
    const auto historySize = [this] { return game().game().history().size(); };
    QTest::keyClicks(list, "d5");
    game().onTimer();
    QCOMPARE(frame_->pane(kFirstPaneId)->text(), QString("対局を開始してください。"));
    QCOMPARE(historySize(), 1u);

    frame_->action(Command::Start)->trigger();
    game().onTimer();
    QTest::keyClicks(list, "j1");
    QVERIFY(frame_->statusBar()->currentMessage().endsWith("j1"));
    game().onTimer();
    QCOMPARE(historySize(), 1u);
    QTest::keyClick(list, Qt::Key_0);
    QVERIFY(frame_->statusBar()->currentMessage().isEmpty());
    game().onTimer();
    QCOMPARE(historySize(), 2u);
    QCOMPARE(game().game().history()[0].move, squareAt(9, 9));

    // White cannot play j1: said once the wait for a 0 has run out.
    QTest::keyClicks(list, "J1");
    QTRY_COMPARE(frame_->pane(kFirstPaneId)->text(), QString("そこには打てません。"));
    QTest::keyClicks(list, "x");  // no column: dropped
    QTest::keyClicks(list, "d2");
    game().onTimer();
    QCOMPARE(historySize(), 3u);

    settings_.black.routine = 1;  // the computer's turn from now on
    QTest::keyClicks(list, "d5");
    game().onTimer();
    QCOMPARE(historySize(), 3u);
  }

  // A move asks for its sound, played or not (the tests have no sound
  // device: silence, and no message); switched off, none. The sounds the
  // build made are in the program.
  void movesSoundUnlessSwitchedOff() {
    for (const char* name : {":/sounds/move.wav", ":/sounds/pass.wav", ":/sounds/end.wav"}) {
      QFile sound(QString::fromLatin1(name));
      QVERIFY2(sound.open(QIODevice::ReadOnly), name);
      QVERIFY(sound.read(4) == "RIFF" && sound.size() > 1000);
    }
    frame_->action(Command::Start)->trigger();
    game().onTimer();
    const auto playFirstMove = [this] {
      MoveMarks marks;
      boardLegalMarks(game().game().board(), game().game().side(), marks);
      game().clickSquare(static_cast<int>(std::find(marks.begin(), marks.end(), 1) - marks.begin()));
      game().onTimer();
    };
    playFirstMove();
    QCOMPARE(frame_->sounds().played(), 1);
    frame_->action(Command::PlaySounds)->trigger();
    playFirstMove();
    QCOMPARE(game().game().history().size(), 3u);
    QCOMPARE(frame_->sounds().played(), 1);
    QVERIFY(messages_.isEmpty());
  }

 private:
  GameController& game() { return frame_->controller(); }

  void setPosition(const Board& board, int side) {
    game().clearHistory();
    game().appendHistory(HistoryEntry{side, -1, board});
    game().goToPosition(0);
  }

  // Entries 0 and 2 the initial position, entry 1 the slow analysis board.
  void setThreeEntryHistory(int cursor) {
    game().clearHistory();
    game().appendHistory(HistoryEntry{kBlack, squareAt(0, 0), initialBoard()});
    game().appendHistory(HistoryEntry{kBlack, squareAt(0, 0), slowAnalysisBoard()});
    game().appendHistory(HistoryEntry{kBlack, -1, initialBoard()});
    game().goToPosition(cursor);
  }

  void enterMode(ModeColumn mode) {
    setThreeEntryHistory(1);
    switch (mode) {
      case kIdle: break;
      case kNextTurn:
        frame_->action(Command::Start)->trigger();  // the next tick has not come yet
        break;
      case kPlaying:
        frame_->action(Command::Start)->trigger();
        game().onTimer();  // the tick that starts the first turn, without waiting for it
        break;
      case kBusy: frame_->action(Command::EndgameAnalysis)->trigger(); break;
      case kEditing: frame_->action(Command::EditBoard)->trigger(); break;
      case kModeColumns: break;
    }
    const ViewMode expected[] = {ViewMode::Idle, ViewMode::NextTurn, ViewMode::Playing, ViewMode::Busy,
                                 ViewMode::Editing};
    QCOMPARE(game().mode(), expected[mode]);
  }

  void leaveMode() {
    game().pause();
    QCOMPARE(game().mode(), ViewMode::Idle);
  }

  // Triggers the settings command and hands the open dialog to `act`.
  template <typename Act>
  void runSettingsDialog(Act act) {
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<CPlayerSettingsDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      ran = true;
      act(*dialog);
    });
    frame_->action(Command::PlayerSettings)->trigger();
    QVERIFY(ran);
  }

  PlayerSettings settings_;
  QStringList messages_;
  QStringList questions_;
  bool answerYes_ = true;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace kaimo

QTEST_MAIN(kaimo::WindowCommandsTest)
#include "window_commands_test.moc"
