// The window's commands under the offscreen platform: every command of the
// vocabulary with its menu, text, key, prompts and enabling in each mode;
// keys reaching their commands; editing with the mouse; the record commands
// with their file dialogs; and the settings command's OK and Cancel.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "app/window/artwork.h"
#include "app/window/board_geometry.h"
#include "app/window/command_table.h"
#include "app/window/main_frame.h"
#include "app/window/player_settings_dialog.h"

namespace kaimo {
namespace {

using namespace geometry;

// The modes a command's enabling is checked in, in table column order.
enum ModeColumn { kIdle, kNextTurn, kPlaying, kBusy, kEditing, kModeColumns };
constexpr const char* kModeNames[kModeColumns] = {"Idle", "NextTurn", "Playing", "Busy", "Editing"};

// Both sides human, so a started game waits for a click and stays put.
PlayerSettings twoHumans() {
  PlayerSettings s = PlayerSettings::defaults();
  s[kBlackRoutineWord] = 0;
  s[kWhiteRoutineWord] = 0;
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
    frame_->view()->setMessageHandler([this](const QString& text) { messages_ << text; });
    frame_->view()->setQuestionHandler([this](const QString& text) {
      questions_ << text;
      return answerYes_;
    });
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void cleanup() { frame_.reset(); }

  void everyCommandHasItsTextKeyAndPrompts_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("tip");
    QTest::newRow("棋譜を開く") << 32781 << "棋譜を開く(&O)" << "Ctrl+O" << "棋譜を開きます" << "棋譜を開く";
    QTest::newRow("棋譜を保存") << 32780 << "棋譜を保存(&S)" << "Ctrl+S" << "棋譜を保存します" << "棋譜を保存";
    QTest::newRow("終了") << 57665 << "アプリケーションの終了(&X)" << "" << "" << "";
    QTest::newRow("対局者設定") << 32775 << "対局者設定(&P)" << "Ctrl+Q" << "思考ルーチン設定" << "思考ルーチン設定";
    QTest::newRow("対局を開始") << 32772 << "対局を開始(&B)" << "Ctrl+B" << "対局を開始" << "対局開始";
    QTest::newRow("一時停止") << 32773 << "一時停止(&S)" << "Ctrl+G" << "一時停止" << "一時停止";
    QTest::newRow("待った") << 32834 << "待った(&Z)" << "Ctrl+Z" << "コンピュータと対局中なら自分の前の手番に戻って続けます"
                         << "待った";
    QTest::newRow("盤面をクリア") << 32821 << "盤面をクリア(&C)" << ""
                                 << "盤面をクリアして新しいゲームを開始" << "盤面をクリア";
    QTest::newRow("前へ") << 32777 << "前へ(&P)" << "Left" << "一手戻る" << "一手戻る";
    QTest::newRow("次へ") << 32778 << "次へ(&N)" << "Right" << "一つ次へ移動" << "次へ移動";
    QTest::newRow("最初に移動") << 32774 << "最初に移動(&I)" << "Ctrl+Left" << "最初に戻る" << "最初に戻る";
    QTest::newRow("最後へ移動") << 32779 << "最後へ移動(&L)" << "Ctrl+Right" << "最後へ移動" << "最後へ移動";
    QTest::newRow("回転") << 32798 << "回転(&T)" << "Ctrl+T" << "盤面を回転" << "盤面を回転";
    QTest::newRow("裏返し") << 32799 << "裏返し(&U)" << "Ctrl+U" << "盤面を裏返す" << "盤面を裏返す";
    QTest::newRow("盤面編集") << 32818 << "盤面編集(&E)" << "Ctrl+E" << "盤面を編集する" << "盤面を編集";
    QTest::newRow("評価値") << 32797 << "評価値(&F)" << "Ctrl+F" << "現在の盤面の評価値を各ルーチンごとに算出"
                         << "評価値を算出";
    QTest::newRow("終盤解析") << 32820 << "終盤解析(&S)" << "Ctrl+K" << "終盤解析" << "終盤解析";
    QTest::newRow("ヒント") << 32830 << "ヒント(&H)" << "Ctrl+H" << "手番の側の最善手と各手の評価値を表示" << "ヒント";
    QTest::newRow("対局を検討") << 32835 << "対局を検討(&R)" << "Ctrl+R"
                           << "対局の各手を最善手と比べ、グラフと悪手の一覧に示します" << "対局を検討";
    QTest::newRow("棋譜とグラフ") << 32836 << "棋譜とグラフ(&G)" << ""
                             << "盤の右の棋譜と評価グラフの表示/非表示を切り替えます" << "棋譜とグラフの表示切り替え";
    QTest::newRow("パスの知らせ") << 32837 << "パスの知らせで対局を止めない(&P)" << ""
                             << "パスの知らせを閉じるのを待たずに対局を続けます" << "パスの知らせで止めない";
    QTest::newRow("棋譜をコピー") << 32831 << "棋譜をコピー(&C)" << "Ctrl+C" << "棋譜をクリップボードにコピーします"
                               << "棋譜をコピー";
    QTest::newRow("棋譜を貼り付け") << 32832 << "棋譜を貼り付け(&V)" << "Ctrl+V"
                                 << "クリップボードの棋譜または手順を読み込みます" << "棋譜を貼り付け";
    QTest::newRow("盤面を画像で保存") << 32833 << "盤面を画像で保存(&G)..." << "Ctrl+I"
                                   << "盤面を座標付きのPNG画像で保存します" << "盤面を画像で保存";
    QTest::newRow("ツールバー") << 59392 << "ツールバー(&T)" << "" << "" << "";
    QTest::newRow("ステータスバー") << 59393 << "ステータスバー(&S)" << "" << "" << "";
    QTest::newRow("定石を使う") << 32838 << "定石を使う(&J)" << ""
                             << "コンピュータは定石にある局面で定石の手から打ちます" << "定石を使う";
    QTest::newRow("バージョン情報") << 57664 << "Kaimo のバージョン情報(&A)..." << "" << "" << "";
  }
  void everyCommandHasItsTextKeyAndPrompts() {
    QFETCH(int, id);
    QFETCH(QString, text);
    QFETCH(QString, keys);
    QFETCH(QString, prompt);
    QFETCH(QString, tip);
    QAction* action = frame_->action(id);
    QVERIFY(action != nullptr);
    QCOMPARE(action->text(), text);
    QCOMPARE(action->shortcut(), QKeySequence(keys));
    // The framework's own commands carry prompts of their own.
    if (!prompt.isEmpty()) {
      QCOMPARE(action->statusTip(), prompt);
      QCOMPARE(action->toolTip(), tip);
    }
  }

  void theMenuBarHoldsEveryCommandInOrder() {
    const QList<QPair<QString, QList<int>>> expected = {
        {"ﾌｧｲﾙ(&F)", {32781, 32780, 0, 32831, 32832, 32833, 0, 57616, 0, 57665}},
        {"設定(&C)", {32775}},
        {"ナビゲート(&N)", {32772, 32773, 32834, 0, 32821, 0, 32777, 32778, 32774, 32779}},
        {"研究(&S)", {32798, 32799, 32818, 0, 32797, 32820, 32830, 0, 32835}},
        {"表示(&V)", {59392, 59393, 32836, 0, 32837, 32838}},
        {"ﾍﾙﾌﾟ(&H)", {57664}},
    };
    const QList<QAction*> menus = frame_->menuBar()->actions();
    QCOMPARE(menus.size(), expected.size());
    for (int i = 0; i < menus.size(); ++i) {
      QCOMPARE(menus[i]->text(), expected[i].first);
      QList<int> ids;
      for (QAction* entry : menus[i]->menu()->actions()) {
        if (entry->isVisible()) ids << (entry->isSeparator() ? 0 : entry->data().toInt());
      }
      QCOMPARE(ids, expected[i].second);
    }
    QAction* recent = frame_->action(command::kRecentFiles);
    QCOMPARE(recent->text(), QString("最近使ったファイル"));
    QVERIFY(!recent->isEnabled());
  }

  // Columns: Idle, NextTurn, Playing, Busy, Editing; with the cursor in the
  // middle of a three-entry history, so both steps are possible.
  void enablingFollowsTheModes_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("enabled");
    const char* always = "11111";
    const char* notBusy = "11101";
    QTest::newRow("棋譜を開く") << 32781 << QString(always);
    QTest::newRow("棋譜を保存") << 32780 << QString(always);
    QTest::newRow("終了") << 57665 << QString(always);
    QTest::newRow("対局者設定") << 32775 << QString(notBusy);
    QTest::newRow("対局を開始") << 32772 << QString("10001");
    QTest::newRow("一時停止") << 32773 << QString(always);
    // Two humans and a move to go back to: not while the analysis runs or editing.
    QTest::newRow("待った") << 32834 << QString("11100");
    QTest::newRow("盤面をクリア") << 32821 << QString(notBusy);
    QTest::newRow("前へ") << 32777 << QString(notBusy);
    QTest::newRow("次へ") << 32778 << QString(notBusy);
    QTest::newRow("最初に移動") << 32774 << QString(notBusy);
    QTest::newRow("最後へ移動") << 32779 << QString(notBusy);
    QTest::newRow("回転") << 32798 << QString(always);
    QTest::newRow("裏返し") << 32799 << QString(always);
    QTest::newRow("盤面編集") << 32818 << QString(notBusy);
    QTest::newRow("評価値") << 32797 << QString(notBusy);
    QTest::newRow("終盤解析") << 32820 << QString(notBusy);
    // Not before the turn has begun (whose it is, is not known yet).
    QTest::newRow("ヒント") << 32830 << QString("10101");
    QTest::newRow("対局を検討") << 32835 << QString(always);
    QTest::newRow("棋譜とグラフ") << 32836 << QString(always);
    QTest::newRow("パスの知らせ") << 32837 << QString(always);
    QTest::newRow("棋譜をコピー") << 32831 << QString(always);
    QTest::newRow("棋譜を貼り付け") << 32832 << QString(always);
    QTest::newRow("盤面を画像で保存") << 32833 << QString(always);
    QTest::newRow("ツールバー") << 59392 << QString(always);
    QTest::newRow("ステータスバー") << 59393 << QString(always);
    QTest::newRow("定石を使う") << 32838 << QString(always);
    QTest::newRow("バージョン情報") << 57664 << QString(always);
    QTest::newRow("最近使ったファイル") << 57616 << QString("00000");
  }
  void enablingFollowsTheModes() {
    QFETCH(int, id);
    QFETCH(QString, enabled);
    QAction* action = frame_->action(id);
    QVERIFY(action != nullptr);
    for (int mode = 0; mode < kModeColumns; ++mode) {
      enterMode(static_cast<ModeColumn>(mode));
      QVERIFY2(action->isEnabled() == (enabled[mode] == QLatin1Char('1')), kModeNames[mode]);
      leaveMode();
    }
  }

  void stepsAreEnabledOnlyWhereThereIsSomewhereToGo() {
    setThreeEntryHistory(0);
    QVERIFY(!frame_->action(command::kPrevious)->isEnabled());
    QVERIFY(frame_->action(command::kNext)->isEnabled());
    game().goToLast();
    QVERIFY(frame_->action(command::kPrevious)->isEnabled());
    QVERIFY(!frame_->action(command::kNext)->isEnabled());
  }

  void keysRunTheirCommandsOnlyWhenEnabled() {
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    setThreeEntryHistory(1);
    QTest::keyClick(frame_.get(), Qt::Key_Left);
    QCOMPARE(game().cursor(), 0);
    QTest::keyClick(frame_.get(), Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(game().cursor(), 2);
    QTest::keyClick(frame_.get(), Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(game().cursor(), 0);
    QTest::keyClick(frame_.get(), Qt::Key_Right);
    QCOMPARE(game().cursor(), 1);

    QTest::keyClick(frame_.get(), Qt::Key_K, Qt::ControlModifier);  // the analysis: busy
    QCOMPARE(game().mode(), ViewMode::Busy);
    QTest::keyClick(frame_.get(), Qt::Key_Left);
    QCOMPARE(game().cursor(), 1);
    QTest::keyClick(frame_.get(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(game().mode(), ViewMode::Busy);
    QTest::keyClick(frame_.get(), Qt::Key_G, Qt::ControlModifier);  // pause
    QCOMPARE(game().mode(), ViewMode::Idle);
    QTest::keyClick(frame_.get(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(game().mode(), ViewMode::Editing);
  }

  void editingClicksSetTheSquares() {
    frame_->action(command::kEditBoard)->trigger();
    QCOMPARE(game().mode(), ViewMode::Editing);
    QCOMPARE(frame_->pane(kFirstPaneId)->text(), QString("盤面編集"));
    QWidget* view = frame_->view();
    const int empty = squareAt(0, 0);
    const int white = squareAt(4, 4);
    QTest::mouseClick(view, Qt::LeftButton, {}, squareCentre(empty));
    QCOMPARE(game().board()[empty], kBlack);
    QTest::mouseClick(view, Qt::LeftButton, {}, squareCentre(empty));
    QCOMPARE(game().board()[empty], kEmpty);
    QTest::mouseClick(view, Qt::LeftButton, {}, squareCentre(white));
    QCOMPARE(game().board()[white], kBlack);
    QTest::mouseClick(view, Qt::RightButton, {}, squareCentre(white));
    QCOMPARE(game().board()[white], kWhite);
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
    QCOMPARE(game().board()[empty], kEmpty);
    QTest::mouseClick(view, Qt::LeftButton, {}, squareCentre(empty));
    doubleClick(empty, Qt::RightButton);  // a black disc: white, then empty
    QCOMPARE(game().board()[empty], kEmpty);
    doubleClick(white, Qt::LeftButton);  // a white disc: black, then empty
    QCOMPARE(game().board()[white], kEmpty);
    // Every square is drawn highlighted while editing.
    const QImage image = view->grab().toImage();
    QCOMPARE(image.pixelColor(squareLeft(99) + 5, squareTop(99) + 5), palette::kCyanGround);
  }

  void editingIndicatorsChooseTheSideToMove() {
    frame_->action(command::kEditBoard)->trigger();
    QWidget* view = frame_->view();
    QTest::mouseClick(view, Qt::RightButton, {}, indicatorPoint(kWhiteIndicatorY));
    QCOMPARE(game().side(), kBlack);
    QTest::mouseClick(view, Qt::LeftButton, {}, indicatorPoint(kWhiteIndicatorY));
    QCOMPARE(game().side(), kWhite);
    const QImage image = view->grab().toImage();
    QCOMPARE(image.pixelColor(framePoint(kIndicatorX, kWhiteIndicatorY)), palette::kFrameYellow);
    QVERIFY(image.pixelColor(framePoint(kIndicatorX, kBlackIndicatorY)) != palette::kFrameYellow);
  }

  void editingDragsPaintALine() {
    frame_->action(command::kEditBoard)->trigger();
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
    for (int column = 0; column < 5; ++column) QCOMPARE(game().board()[squareAt(column, row)], kBlack);
    QCOMPARE(game().board()[squareAt(5, row)], kEmpty);

    // The right button paints white over them; a move without a button does nothing.
    sendMouse(view, QEvent::MouseButtonPress, squareCentre(squareAt(0, row)), Qt::RightButton, Qt::RightButton);
    sendMouse(view, QEvent::MouseMove, squareCentre(squareAt(1, row)), Qt::NoButton, Qt::RightButton);
    sendMouse(view, QEvent::MouseButtonRelease, squareCentre(squareAt(1, row)), Qt::RightButton, Qt::NoButton);
    sendMouse(view, QEvent::MouseMove, squareCentre(squareAt(2, row)), Qt::NoButton, Qt::NoButton);
    QCOMPARE(game().board()[squareAt(0, row)], kWhite);
    QCOMPARE(game().board()[squareAt(1, row)], kWhite);
    QCOMPARE(game().board()[squareAt(2, row)], kBlack);
  }

  void clicksOutsideEditingDoNotEdit() {
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, squareCentre(0));
    QTest::mouseClick(frame_->view(), Qt::RightButton, {}, squareCentre(1));
    QCOMPARE(game().board(), initialBoard());
  }

  void clearingAsksAndNoKeepsTheGame() {
    setThreeEntryHistory(2);
    answerYes_ = false;
    frame_->action(command::kClearBoard)->trigger();
    QCOMPARE(questions_, QStringList{"盤面をクリアしてゲーム開始時の状態に戻します。よろしいですか？"});
    QCOMPARE(game().history().size(), std::size_t(3));
    answerYes_ = true;
    frame_->action(command::kClearBoard)->trigger();
    QCOMPARE(game().history().size(), std::size_t(1));
    QCOMPARE(game().board(), initialBoard());
    QVERIFY(!frame_->action(command::kPrevious)->isEnabled());
  }

  void openShowsTheRecordsFirstPosition() {
    QTemporaryDir dir;
    const QString path = dir.filePath("game.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("d5d4d3c3");
    file.close();
    QList<RecordFileUse> asked;
    frame_->view()->setFileChooser([&](RecordFileUse use) {
      asked << use;
      return path;
    });
    frame_->action(command::kOpenRecord)->trigger();
    QCOMPARE(asked, QList<RecordFileUse>{RecordFileUse::Open});
    QCOMPARE(game().history().size(), std::size_t(5));
    QCOMPARE(game().cursor(), 0);
    QCOMPARE(game().board(), initialBoard());
    QVERIFY(frame_->action(command::kNext)->isEnabled());
    QVERIFY(!frame_->action(command::kPrevious)->isEnabled());
    QVERIFY(messages_.isEmpty());
  }

  void openTellsUnreadableAndBrokenFiles() {
    QTemporaryDir dir;
    QString path = dir.filePath("missing.txt");
    frame_->view()->setFileChooser([&](RecordFileUse) { return path; });
    frame_->action(command::kOpenRecord)->trigger();
    QCOMPARE(messages_, QStringList{"ファイルが開けません。"});
    path = dir.filePath("broken.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("d5d4t1");
    file.close();
    frame_->action(command::kOpenRecord)->trigger();
    QCOMPARE(messages_.last(), QString("正しくない棋譜です。"));
    QCOMPARE(game().history().size(), std::size_t(3));
    QCOMPARE(game().cursor(), 0);
  }

  void saveWritesTheRecordUnderAUnicodeName() {
    QTemporaryDir dir;
    const QString path = dir.filePath("対局.txt");
    frame_->view()->setFileChooser([&](RecordFileUse use) { return use == RecordFileUse::Save ? path : QString(); });
    frame_->action(command::kStart)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, squareCentre(squareAt(3, 4)));  // d5
    QTRY_COMPARE(game().history().size(), std::size_t(2));
    frame_->action(command::kSaveRecord)->trigger();
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
      const Board before = game().board();
      frame_->action(use == RecordFileUse::Open ? command::kOpenRecord : command::kSaveRecord)->trigger();
      QVERIFY(seen != nullptr);
      QCOMPARE(game().board(), before);
    }
  }

  void settingsOkStoresTheDialogsWordsAndCancelNothing() {
    settings_[5] = 55;
    settings_[kBlackCutValueWord] = 1500;
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
    QCOMPARE(settings_[kBlackRoutineWord], 2);
    QCOMPARE(settings_[5], 0);
    QCOMPARE(settings_[kBlackCutValueWord], 1500);  // the dialog shows the ProbCut words and keeps them
    QCOMPARE(settings_[20], before[20]);
  }

  // On at first; the choice reaches the game at once and the next window,
  // and stays out of the players' settings.
  void theBookChoiceIsKeptBetweenWindows() {
    const PlayerSettings before = settings_;
    QAction* useBook = frame_->action(command::kUseBook);
    QVERIFY(useBook->isCheckable());
    QVERIFY(useBook->isChecked());
    QVERIFY(game().bookEnabled());
    useBook->trigger();
    QVERIFY(!game().bookEnabled());
    frame_ = std::make_unique<CMainFrame>(settings_);
    QVERIFY(!frame_->action(command::kUseBook)->isChecked());
    QVERIFY(!game().bookEnabled());
    frame_->action(command::kUseBook)->trigger();
    QVERIFY(game().bookEnabled());
    QVERIFY(settings_ == before);
  }

  void settingsStopTheGameFirst() {
    frame_->action(command::kStart)->trigger();
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
    frame_->action(command::kStart)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    frame_->action(command::kEvaluationValues)->trigger();
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
    frame_->action(command::kEndgameAnalysis)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Idle);
    QVERIFY(game().squareValues()[99] != SCORE_NONE);
    // The only move is the best one: its value stands out as after a hint.
    QCOMPARE(game().hintMove(), 99);
    const QImage image = frame_->view()->grab().toImage();
    const QPoint valueCorner(squareLeft(99) + kValueOffsetX + 1, squareTop(99) + kValueOffsetY + 1);
    QCOMPARE(image.pixelColor(valueCorner), palette::kFrameYellow);
  }

 private:
  GameController& game() { return frame_->view()->controller(); }

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
      case kIdle:
        break;
      case kNextTurn:
        frame_->action(command::kStart)->trigger();  // the next tick has not come yet
        break;
      case kPlaying:
        frame_->action(command::kStart)->trigger();
        game().onTimer();  // the tick that starts the first turn, without waiting for it
        break;
      case kBusy:
        frame_->action(command::kEndgameAnalysis)->trigger();
        break;
      case kEditing:
        frame_->action(command::kEditBoard)->trigger();
        break;
      case kModeColumns:
        break;
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
    frame_->action(command::kPlayerSettings)->trigger();
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
