// The window under the offscreen platform: menus, toolbar and panes, a
// human move by mouse and the computer's answer, what the view draws where,
// and the start command's enabling. The whole command vocabulary is checked
// in window_commands_test.
#include <QAction>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <memory>

#include "app/window/about_box.h"
#include "app/window/artwork.h"
#include "app/window/board_geometry.h"
#include "app/window/board_painter.h"
#include "app/window/commands.h"
#include "app/window/main_frame.h"
#include "engine/eval/pattern_eval.h"

namespace kaimo {
namespace {

using namespace geometry;

// Black a human; white "狸" reading two plies, so it answers at once.
PlayerSettings humanAgainstQuickComputer() {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = 0;
  s.white.routine = 1;
  s.white.normalDepth = 2;
  s.white.exactDepth = 4;
  return s;
}

QPoint squareCentre(int square) { return {squareLeft(square) + kCell / 2, squareTop(square) + kCell / 2}; }

// Inside a square's ground, clear of the disc and of the last-move frame.
QPoint groundPoint(int square) { return {squareLeft(square) + 5, squareTop(square) + 5}; }

// Inside the left bar of a square's last-move frame.
QPoint framePoint(int left, int top) { return {left + 1, top + kCell / 2}; }

int panelBluePixels(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.blue() > 180 && c.red() < 90 && c.green() < 90) ++count;
    }
  }
  return count;
}

}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settings_ = humanAgainstQuickComputer();
    messages_.clear();
    frame_ = std::make_unique<CMainFrame>(settings_);
    frame_->dialogs().setMessageHandler([this](const QString& text) { messages_ << text; });
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void cleanup() { frame_.reset(); }

  void startsWithMenusToolbarAndPanes() {
    QStringList titles;
    for (QAction* menu : frame_->menuBar()->actions()) titles << menu->text();
    QCOMPARE(titles, (QStringList{"ﾌｧｲﾙ(&F)", "設定(&C)", "ナビゲート(&N)", "研究(&S)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
    QAction* start = frame_->action(Command::Start);
    QVERIFY(start != nullptr);
    QCOMPARE(start->text(), QString("対局を開始(&B)"));
    QCOMPARE(start->shortcut(), QKeySequence("Ctrl+B"));
    QCOMPARE(start->statusTip(), QString("対局を開始"));
    QCOMPARE(start->toolTip(), QString("対局開始"));
    QCOMPARE(frame_->action(Command::Pause)->shortcut(), QKeySequence("Ctrl+G"));

    for (int i = 0; i < 3; ++i) {
      QLabel* pane = frame_->pane(kFirstPaneId + i);
      QVERIFY(pane != nullptr);
      QVERIFY(pane->isVisible());
      QVERIFY(pane->width() >= kPaneWidths[i]);
    }
    QCOMPARE(frame_->pane(kFirstPaneId + 3), nullptr);
    auto* idle = frame_->statusBar()->findChild<QLabel*>("idleMessage");
    QVERIFY(idle != nullptr);
    QVERIFY(idle->text().contains("13.02"));
    // Missing data of "狐" are said at start.
    QCOMPARE(idle->text().contains("狐"), defaultPatternData()->failed());
  }

  void toolbarHasItsButtonsInOrder() {
    auto* toolBar = frame_->findChild<QToolBar*>("toolBar");
    QVERIFY(toolBar != nullptr);
    QList<int> ids;
    for (QAction* action : toolBar->actions()) {
      if (action->isSeparator()) continue;
      ids << action->data().toInt();
      QVERIFY(!action->icon().isNull());
    }
    QCOMPARE(ids, (QList<int>{32779, 32778, 32773, 32777, 32774, 32821, 32772, 32775, 32818, 32820, 32830, 32834, 32850}));
  }

  void startEnablingFollowsTheMode() {
    QAction* start = frame_->action(Command::Start);
    QVERIFY(start->isEnabled());
    QVERIFY(frame_->action(Command::Pause)->isEnabled());
    start->trigger();
    QCOMPARE(frame_->controller().mode(), ViewMode::NextTurn);
    QVERIFY(!start->isEnabled());
    QTRY_COMPARE(frame_->controller().mode(), ViewMode::Playing);
    QVERIFY(!start->isEnabled());
    frame_->action(Command::Pause)->trigger();
    QCOMPARE(frame_->controller().mode(), ViewMode::Idle);
    QVERIFY(start->isEnabled());
    QCOMPARE(frame_->pane(256)->text(), QString("停止"));
  }

  void clickOnALegalSquarePlaysAndTheComputerAnswers() {
    GameController& game = frame_->controller();
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game.mode(), ViewMode::Playing);
    MoveMarks marks;
    boardLegalMarks(game.game().board(), kBlack, marks);
    int move = -1;
    for (int s = 0; s < kSquareCount && move < 0; ++s) {
      if (marks[s]) move = s;
    }
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, squareCentre(move));
    QTRY_COMPARE_WITH_TIMEOUT(game.game().history().size(), std::size_t(3), 30000);
    QCOMPARE(game.game().history()[0].move, move);
    QCOMPARE(game.game().side(), kBlack);
    QVERIFY(QRegularExpression(R"(^[+-]\d+\.\d\d(石|点)$)").match(frame_->pane(258)->text()).hasMatch());
    QVERIFY(messages_.isEmpty());

    const QImage image = frame_->view()->grab().toImage();
    const int last = game.game().lastMove();
    QCOMPARE(image.pixelColor(framePoint(squareLeft(last), squareTop(last))), palette::kFrameYellow);
    QVERIFY(image.pixelColor(framePoint(squareLeft(move), squareTop(move))) != palette::kFrameYellow);
    // Black is to move: its indicator is framed, white's is not.
    QCOMPARE(image.pixelColor(framePoint(kIndicatorX, kBlackIndicatorY)), palette::kFrameYellow);
    QVERIFY(image.pixelColor(framePoint(kIndicatorX, kWhiteIndicatorY)) != palette::kFrameYellow);
  }

  void countsAndCaptionAreDrawnInThePanel() {
    const QImage image = frame_->view()->grab().toImage();
    const int width = kPanelTextRight - kPanelTextLeft;
    QVERIFY(panelBluePixels(image, QRect(kPanelTextLeft, kBlackCountTop, width, kPanelTextHeight)) > 20);
    QVERIFY(panelBluePixels(image, QRect(kPanelTextLeft, kWhiteCountTop, width, kPanelTextHeight)) > 20);
    QVERIFY(panelBluePixels(image, QRect(kPanelTextLeft, kCaptionTop, width, kPanelTextHeight)) > 20);
    // Between the counts and the caption, each colour's player and clock,
    // and a mark before the side to move (black); nothing else is blue.
    const int playersEnd = kPlayersTop + 2 * kPlayerBlockHeight;
    QVERIFY(panelBluePixels(image, QRect(kPanelTextLeft, kPlayersTop, width, playersEnd - kPlayersTop)) > 20);
    QCOMPARE(panelBluePixels(image, QRect(kPanelTextLeft, kWhiteCountTop + kPanelTextHeight, width,
                                          kPlayersTop - kWhiteCountTop - kPanelTextHeight)),
             0);
    QCOMPARE(panelBluePixels(image, QRect(kPanelTextLeft, playersEnd, width, kCaptionTop - playersEnd)), 0);
    const int markWidth = kPanelTextLeft - kIndicatorX;
    QVERIFY(panelBluePixels(image, QRect(kIndicatorX, kPlayersTop, markWidth, kPlayerLineHeight)) > 0);
    QCOMPARE(panelBluePixels(image, QRect(kIndicatorX, kPlayersTop + kPlayerBlockHeight, markWidth, kPlayerLineHeight)),
             0);
    QCOMPARE(panelBluePixels(image, QRect(kBoardEnd, 0, kPanelTextLeft - kBoardEnd, kPlayersTop)), 0);
  }

  void legalMovesAreHighlightedOnlyForAHumanToMove() {
    GameController& game = frame_->controller();
    MoveMarks marks;
    boardLegalMarks(game.game().board(), kBlack, marks);
    QImage image = frame_->view()->grab().toImage();
    for (int s = 0; s < kSquareCount; ++s) {
      QCOMPARE(image.pixelColor(groundPoint(s)), palette::kGreenGround);  // idle: nothing highlighted
    }
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game.mode(), ViewMode::Playing);
    image = frame_->view()->grab().toImage();
    int highlighted = 0;
    for (int s = 0; s < kSquareCount; ++s) {
      const QColor expected = marks[s] ? palette::kCyanGround : palette::kGreenGround;
      QCOMPARE(image.pixelColor(groundPoint(s)), expected);
      highlighted += marks[s];
    }
    QCOMPARE(highlighted, 4);
  }

  void pointsMapToSquaresAndIndicators_data() {
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("expected");
    QTest::newRow("top-left square") << QPoint(64, 64) << 0;
    QTest::newRow("bottom-right square") << QPoint(383, 383) << 99;
    QTest::newRow("column 3 row 7") << QPoint(64 + 3 * 32 + 5, 64 + 7 * 32 + 31) << 37;
    QTest::newRow("left of the board") << QPoint(40, 100) << -1;
    QTest::newRow("just left of the board") << QPoint(63, 64) << -1;
    QTest::newRow("just above the board") << QPoint(64, 63) << -1;
    QTest::newRow("right of the board") << QPoint(384, 64) << -1;
    QTest::newRow("black indicator") << QPoint(450, 130) << -10;
    QTest::newRow("white indicator") << QPoint(479, 191) << -11;
    QTest::newRow("below the indicators") << QPoint(450, 192) << -1;
  }
  void pointsMapToSquaresAndIndicators() {
    QFETCH(QPoint, point);
    QFETCH(int, expected);
    QCOMPARE(squareFromPoint(point.x(), point.y()), expected);
  }

  void squareValuesAreWholeDiscsInThreePlaces() {
    QCOMPARE(squareValueText(-1500), QString(" -1"));
    QCOMPARE(squareValueText(2999), QString(" +2"));
    QCOMPARE(squareValueText(-999), QString(" +0"));
    QCOMPARE(squareValueText(64000), QString("+64"));
    QCOMPARE(discCountText(2, Language::Japanese), QString(" 2石"));
    QCOMPARE(discCountText(60, Language::Japanese), QString("60石"));
  }

  void artworkIsDrawnAtTheScreenDensity() {
    const Artwork art(2.0);
    QCOMPARE(art.sheet().size(), QSize(128, 512));
    QCOMPARE(art.tile().size(), QSize(64, 64));
    const QImage framedBlack = art.cell(0, spriteRow(kBlack, true)).toImage();
    QCOMPARE(framedBlack.size(), QSize(64, 64));
    QCOMPARE(art.cell(0, 0).devicePixelRatio(), 2.0);
    QCOMPARE(framedBlack.pixelColor(2, 32), palette::kFrameYellow);
    QCOMPARE(art.cell(1, spriteRow(kEmpty, false)).toImage().pixelColor(10, 10), palette::kCyanGround);
    // The disc's centre is dark for black and light for white.
    QVERIFY(art.cell(0, spriteRow(kBlack, false)).toImage().pixelColor(32, 32).lightness() < 80);
    QVERIFY(art.cell(0, spriteRow(kWhite, false)).toImage().pixelColor(32, 32).lightness() > 180);
  }

  void aboutBoxShowsTheVersion() {
    CAboutBox box;
    QCOMPARE(box.windowTitle(), QString("Kaimoのﾊﾞｰｼﾞｮﾝ情報"));
    auto* line = box.findChild<QLabel*>("titleLine");
    QVERIFY(line != nullptr);
    QVERIFY(line->text().contains("Kaimo"));
    QVERIFY(line->text().contains("13.02"));
    auto* buttons = box.findChild<QDialogButtonBox*>();
    QVERIFY(buttons != nullptr);
    QCOMPARE(buttons->buttons().size(), 1);
  }

 private:
  PlayerSettings settings_;
  QStringList messages_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace kaimo

QTEST_MAIN(kaimo::MainFrameTest)
#include "main_frame_test.moc"
