// The study tools in the window under the offscreen platform: the hint on
// the board, clicks in the move list, the graph and the summary after a
// game, the losses in the list and the graph's tooltip, copy and paste
// through the clipboard, and the board picture.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include <memory>

#include "app/window/artwork.h"
#include "app/window/board_geometry.h"
#include "app/window/commands.h"
#include "app/window/main_frame.h"
#include "app/window/study_pane.h"
#include "engine/eval/score.h"
#include "tests/common/test_boards.h"

namespace kaimo {
namespace {

using testing::nearlyFullBoard;

PlayerSettings twoHumans() {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = 0;
  s.white.routine = 0;
  s.black.normalDepth = s.white.normalDepth = 3;
  return s;
}

}  // namespace

class StudyPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settings_ = twoHumans();
    messages_.clear();
    frame_ = std::make_unique<CMainFrame>(settings_);
    frame_->dialogs().setMessageHandler([this](const QString& text) { messages_ << text; });
    frame_->dialogs().setQuestionHandler([](const QString&) { return true; });
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void cleanup() { frame_.reset(); }

  void hintShowsTheBestMoveOnItsSquare() {
    frame_->action(Command::Hint)->trigger();
    QTRY_VERIFY(game().study().bestSquare() >= 0);
    const int best = game().study().bestSquare();
    const QImage image = frame_->view()->grab().toImage();
    const QPoint valueCorner(geometry::squareLeft(best) + geometry::kValueOffsetX + 1,
                             geometry::squareTop(best) + geometry::kValueOffsetY + 1);
    QCOMPARE(image.pixelColor(valueCorner), palette::kFrameYellow);
    frame_->action(Command::Start)->trigger();
    QCOMPARE(game().study().bestSquare(), -1);
  }

  // Black a human, white "狸" one ply deep: after white's reply 待った goes
  // back to black's turn before, and the game goes on from there.
  void takeBackReturnsToTheHumansTurnAndPlayGoesOn() {
    settings_.white.routine = kSimpleRoutine;
    settings_.white.normalDepth = 1;
    QAction* takeBack = frame_->action(Command::TakeBack);
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    QVERIFY(!takeBack->isEnabled());
    clickFirstLegalSquare();
    QTRY_VERIFY(game().game().cursor() == 2 && game().isHumanToMove());
    QVERIFY(takeBack->isEnabled());
    takeBack->trigger();
    QCOMPARE(game().game().cursor(), 0);
    QCOMPARE(game().game().side(), kBlack);
    QCOMPARE(game().mode(), ViewMode::Playing);
    QVERIFY(game().isHumanToMove());
    QCOMPARE(frame_->pane(256)->text(), QString());
    clickFirstLegalSquare();
    QTRY_VERIFY(game().game().cursor() == 2 && game().isHumanToMove());
    QCOMPARE(game().game().history().size(), 3u);
  }

  // The computer's thinking takes the same room from its first line to its
  // last, so the column does not jump.
  void thinkingKeepsItsHeight() {
    settings_.white.routine = kSimpleRoutine;
    settings_.white.normalDepth = 1;
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    clickFirstLegalSquare();
    QLabel* thinking = pane().thinking();
    QTRY_VERIFY(thinking->isVisible());
    const int height = thinking->height();
    QTRY_VERIFY(game().game().cursor() == 2 && thinking->text().count(QLatin1Char('\n')) >= 1);
    QCOMPARE(thinking->height(), height);
  }

  // The hint in a running game: the game goes on, the best square is marked
  // and named, and the human's click on it plays it and takes the marks and
  // the text away. A text of a state that has ended goes the same way.
  void hintLeavesTheGameRunningAndTheClickPlays() {
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, squareCentre(squareAt(0, 0)));
    QCOMPARE(frame_->pane(256)->text(), QString("対局を開始してください。"));
    frame_->action(Command::Start)->trigger();
    QCOMPARE(frame_->pane(256)->text(), QString());
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    frame_->action(Command::Hint)->trigger();
    QCOMPARE(game().mode(), ViewMode::Playing);
    QTRY_VERIFY(game().study().bestSquare() >= 0);
    const int best = game().study().bestSquare();
    // From the book where the data of 狐, which read a human's hint, come with one.
    const QString said = frame_->pane(256)->text();
    QVERIFY2(said.startsWith(QStringLiteral("最善手 ")) || said.startsWith(QStringLiteral("定石 最善手 ")),
             qPrintable(said));
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, squareCentre(best));
    QTRY_COMPARE(game().game().cursor(), 1);
    QCOMPARE(game().game().history()[0].move, best);
    QCOMPARE(game().study().bestSquare(), -1);
    QCOMPARE(frame_->pane(256)->text(), QString());
    QCOMPARE(game().mode(), ViewMode::Playing);
  }

  // Rows: the start, moves, and the pass row that follows a move after which
  // the other colour could not move.
  void listClicksGoToTheirPosition_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("position");
    QTest::newRow("start") << 0 << 0;
    QTest::newRow("first move") << 1 << 1;
    QTest::newRow("second move") << 2 << 2;
    QTest::newRow("pass") << 3 << 2;
    QTest::newRow("third move") << 4 << 3;
  }
  void listClicksGoToTheirPosition() {
    QFETCH(int, row);
    QFETCH(int, position);
    setGameWithAPass();
    game().goToPosition(3);
    MoveListView* list = pane().moveList();
    QCOMPARE(list->count(), 5);
    QCOMPARE(list->currentRow(), 4);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    QCOMPARE(game().game().cursor(), position);
    QCOMPARE(list->currentRow(), rowOfPosition(list->rows(), position));
  }

  void graphClicksGoToTheNearestPosition() {
    setGameWithAPass();
    EvaluationGraphView* graph = pane().graph();
    QCOMPARE(static_cast<int>(graph->points().size()), 4);
    for (int position : {2, 0, 3}) {
      const GraphScale scale = graph->scale();
      QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(scale.xOf(position) + 1, graph->height() / 2));
      QCOMPARE(game().game().cursor(), position);
    }
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(graph->width() - 2, 5));
    QCOMPARE(game().game().cursor(), 3);  // beyond the last point is the last position
  }

  void graphFillsAndTheSummaryFollowsTheEnd() {
    setPosition(nearlyFullBoard(), kBlack);
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    while (game().mode() == ViewMode::Playing) {
      const int before = static_cast<int>(game().game().history().size());
      clickFirstLegalSquare();
      QTRY_VERIFY(game().mode() != ViewMode::Playing || static_cast<int>(game().game().history().size()) > before);
    }
    QTRY_VERIFY(graphKnown());
    QVERIFY(pane().summary()->isVisible());
    QVERIFY(pane().summary()->text().startsWith(QStringLiteral("悪手 黒:")));
    QVERIFY(pane().summary()->text().contains(QStringLiteral("<br>悪手 白:")));
    frame_->action(Command::Previous)->trigger();
    QVERIFY2(pane().summary()->isVisible(), "the summary belongs to the game, not to the position shown");
  }

  // The last legal square at every turn from the nearly full board: black's
  // moves lose discs, the first one among them, and the summary names them.
  void reviewedGameShowsLossesAndItsMovesAreLinks() {
    setPosition(nearlyFullBoard(), kBlack);
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    while (game().mode() == ViewMode::Playing) {
      const int before = static_cast<int>(game().game().history().size());
      game().clickSquare(lastLegalSquare());
      QTRY_VERIFY(game().mode() != ViewMode::Playing || static_cast<int>(game().game().history().size()) > before);
    }
    QTRY_VERIFY(graphKnown());
    QTRY_VERIFY(pane().summary()->text().contains(QStringLiteral("href")));

    // Each move's row ends with what the review says it lost.
    const std::vector<MoveReview> moves = game().review().moves();
    MoveListView* list = pane().moveList();
    int lossRows = 0;
    for (const MoveListRow& row : list->rows()) {
      if (row.kind != MoveRowKind::Move) continue;
      const QString text = list->item(rowOfPosition(list->rows(), row.position))->text();
      const double shown = text.split(QLatin1Char(' '), Qt::SkipEmptyParts).last().toDouble();
      QCOMPARE(qRound(-shown * SCORE_PER_DISC), moves[static_cast<std::size_t>(row.number - 1)].loss());
      ++lossRows;
    }
    QCOMPARE(lossRows, static_cast<int>(moves.size()));

    // The graph's tooltip at the end: the last move and the final margin, exact.
    EvaluationGraphView* graph = pane().graph();
    const QPoint end(graph->scale().xOf(game().game().lastIndex()), graph->height() / 2);
    QHelpEvent help(QEvent::ToolTip, end, graph->mapToGlobal(end));
    QApplication::sendEvent(graph, &help);
    QVERIFY2(QToolTip::text().startsWith(moveRowText(list->rows().back()).trimmed()), qPrintable(QToolTip::text()));
    QVERIFY2(QToolTip::text().endsWith(QStringLiteral("石 完全読み")), qPrintable(QToolTip::text()));

    // A click on each named move shows the position it made.
    const QList<QPoint> links = linkPoints(*pane().summary());
    const QList<int> named = namedMoves(pane().summary()->text());
    QCOMPARE(links.size(), named.size());
    QVERIFY2(named.contains(1), "the first move lost discs");
    for (qsizetype i = 0; i < links.size(); ++i) {
      game().goToPosition(game().game().lastIndex());
      QTest::mouseClick(pane().summary(), Qt::LeftButton, {}, links[i]);
      QCOMPARE(game().game().cursor(), named[i]);
    }
  }

  // The graph's tooltip names the position under the pointer as the move
  // list does (its value follows once read: see above).
  void graphTooltipNamesThePositionUnderThePointer_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::newRow("start") << 0 << QStringLiteral("開始局面");
    QTest::newRow("first move") << 1 << QStringLiteral("1. ○ d1");
    QTest::newRow("last move") << 3 << QStringLiteral("3. ● c3");
  }
  void graphTooltipNamesThePositionUnderThePointer() {
    QFETCH(int, position);
    QFETCH(QString, name);
    setGameWithAPass();
    EvaluationGraphView* graph = pane().graph();
    const QPoint at(graph->scale().xOf(position) + 1, graph->height() / 2);
    QHelpEvent help(QEvent::ToolTip, at, graph->mapToGlobal(at));
    QApplication::sendEvent(graph, &help);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), name);  // no value read yet
  }

  void copyAndPasteGoThroughTheClipboard() {
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game().mode(), ViewMode::Playing);
    for (int i = 0; i < 3; ++i) {
      clickFirstLegalSquare();
      QTRY_COMPARE(static_cast<int>(game().game().history().size()), i + 2);
    }
    const History played = game().game().history();
    frame_->action(Command::CopyRecord)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text().toStdString(), game().recordText());
    frame_->dialogs().setChoiceHandler([](const QString&) { return Answer::No; });  // not saved
    frame_->action(Command::ClearBoard)->trigger();
    QCOMPARE(game().game().history().size(), 1u);
    frame_->action(Command::PasteRecord)->trigger();
    QVERIFY(game().game().history() == played);
    QCOMPARE(game().game().cursor(), 0);
    QCOMPARE(pane().moveList()->count(), 4);

    // The pasted game has no file: replacing it asks first. A record that
    // breaks off keeps its moves.
    int asked = 0;
    frame_->dialogs().setChoiceHandler([&asked](const QString&) {
      ++asked;
      return Answer::No;
    });
    QGuiApplication::clipboard()->setText(QStringLiteral("d5 q7"));
    frame_->action(Command::PasteRecord)->trigger();
    QCOMPARE(asked, 1);
    QCOMPARE(messages_, QStringList{QStringLiteral("正しくない棋譜です。")});
    QCOMPARE(game().game().history().size(), 2u);
    // One word of 40,000 characters once overflowed the reader's stack. Not
    // a token of a record in it: refused, and the game stays.
    QGuiApplication::clipboard()->setText(QString(40000, QLatin1Char('x')));
    frame_->action(Command::PasteRecord)->trigger();
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(game().game().history().size(), 2u);
    QCOMPARE(asked, 1);
  }

  void boardPictureIsAPngWithTheBoard() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("盤面.png"));
    QList<RecordFileUse> asked;
    frame_->dialogs().setFileChooser([&](RecordFileUse use) {
      asked << use;
      return path;
    });
    frame_->action(Command::SaveBoardPicture)->trigger();
    QCOMPARE(asked, QList<RecordFileUse>{RecordFileUse::BoardPicture});
    QImage picture;
    QVERIFY(picture.load(path, "PNG"));
    QCOMPARE(picture.width(), picture.height());
    // The top-left square: green ground inside the band of coordinates.
    const qreal scale = picture.width() / (2.0 * 24 + 10 * kSpriteSize);
    const QPoint corner(static_cast<int>((24 + 3) * scale), static_cast<int>((24 + 3) * scale));
    QCOMPARE(picture.pixelColor(corner), palette::kGreenGround);
    QVERIFY(messages_.isEmpty());

    frame_->dialogs().setFileChooser([&](RecordFileUse) { return dir.filePath(QStringLiteral("missing/盤面.png")); });
    frame_->action(Command::SaveBoardPicture)->trigger();
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].contains(QStringLiteral("missing/盤面.png")));
  }

 private:
  GameController& game() { return frame_->controller(); }
  StudyPane& pane() { return *frame_->studyPane(); }

  void setPosition(const Board& board, int side) {
    game().clearHistory();
    game().appendHistory(HistoryEntry{side, -1, board});
    game().goToPosition(0);
  }

  // White d1, black e1, white passes, black c3: four positions, from a
  // corner of a few discs (black a1, c1, c2, white b1, b3).
  void setGameWithAPass() {
    Board board;
    board.fill(kEmpty);
    for (int square : {0, 20, 21}) board[square] = kBlack;
    for (int square : {10, 12}) board[square] = kWhite;
    game().clearHistory();
    int side = kWhite;
    for (int square : {30, 40, 22}) {
      game().appendHistory(HistoryEntry{side, square, board});
      boardPlayInPlace(board, square, side);
      side = boardMobility(board, opponentOf(side)) == 0 ? side : opponentOf(side);
    }
    game().appendHistory(HistoryEntry{side, -1, board});
    game().goToPosition(0);
  }

  static QPoint squareCentre(int square) {
    return {geometry::squareLeft(square) + geometry::kCell / 2, geometry::squareTop(square) + geometry::kCell / 2};
  }

  void clickFirstLegalSquare() {
    MoveMarks marks;
    boardLegalMarks(game().game().board(), game().game().side(), marks);
    for (int s = 0; s < kSquareCount; ++s) {
      if (marks[s]) {
        game().clickSquare(s);
        return;
      }
    }
  }

  int lastLegalSquare() {
    MoveMarks marks;
    boardLegalMarks(game().game().board(), game().game().side(), marks);
    int last = -1;
    for (int s = 0; s < kSquareCount; ++s) {
      if (marks[s]) last = s;
    }
    return last;
  }

  // The moves a summary names, in its order, by their number.
  static QList<int> namedMoves(const QString& summary) {
    QList<int> numbers;
    static const QRegularExpression link(QStringLiteral("href=\"(\\d+)\""));
    for (const QRegularExpressionMatch& m : link.globalMatch(summary)) numbers << m.captured(1).toInt();
    return numbers;
  }

  // A point inside each link of `label`, in reading order: where the
  // pointer turns into a hand.
  static QList<QPoint> linkPoints(QLabel& label) {
    QList<QPoint> points;
    for (int y = 2; y < label.height(); y += 4) {
      bool inLink = false;
      for (int x = 0; x < label.width(); x += 2) {
        QTest::mouseMove(&label, QPoint(x, y));
        const bool hand = label.cursor().shape() == Qt::PointingHandCursor;
        if (hand && !inLink) points << QPoint(x + 3, y);
        inLink = hand;
      }
      if (!points.isEmpty()) break;  // the links of one line: black's
    }
    return points;
  }

  bool graphKnown() {
    for (const GraphPoint& p : game().review().graphPoints()) {
      if (p.value == SCORE_NONE) return false;
    }
    return true;
  }

  PlayerSettings settings_;
  std::unique_ptr<CMainFrame> frame_;
  QStringList messages_;
};

}  // namespace kaimo

QTEST_MAIN(kaimo::StudyPaneTest)
#include "study_pane_test.moc"
