// The board view at any size, on the offscreen platform: the last-move
// frame after the board transforms, a wide value on its square, and clicks
// landing on the square drawn under them at several window sizes (the
// "2x" run repeats them at twice the device pixel ratio).
#include <QAction>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <memory>
#include <vector>

#include "app/window/artwork.h"
#include "app/window/board_geometry.h"
#include "app/window/board_painter.h"
#include "app/window/commands.h"
#include "app/window/main_frame.h"
#include "engine/eval/score.h"

namespace kaimo {
namespace {

using namespace geometry;

// The board transforms' ids, as the data table carries them.
constexpr int kRotate = static_cast<int>(Command::Rotate);
constexpr int kMirror = static_cast<int>(Command::Mirror);

PlayerSettings twoHumans() {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = 0;
  s.white.routine = 0;
  return s;
}

std::vector<int> legalSquaresOf(const Board& board, int side) {
  MoveMarks marks;
  boardLegalMarks(board, side, marks);
  std::vector<int> squares;
  for (int s = 0; s < kSquareCount; ++s) {
    if (marks[s]) squares.push_back(s);
  }
  return squares;
}

int squareNamed(const char* name) { return squareAt(name[0] - 'a', std::atoi(name + 1) - 1); }

// The board as drawn, in view pixels, from the box of its green ground
// (which stops short of each square's edge lines by a pixel or two). The
// panel's indicators, on green too, start two cells after the board, in the
// last eleven 24ths of the design's width.
QRectF drawnBoard(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width() * 13 / kViewCellsWide; ++x) {
      if (image.pixelColor(x, y) == palette::kGreenGround) box |= QRect(x, y, 1, 1);
    }
  }
  const qreal ratio = image.devicePixelRatio();
  const qreal cell = qRound(box.width() / ratio / kBoardSize);
  const QPointF centre = QRectF(box).center() / ratio;
  const qreal half = cell * kBoardSize / 2;
  return {centre.x() - half, centre.y() - half, 2 * half, 2 * half};
}

QPoint centreOf(const QRectF& board, int square) {
  const qreal cell = board.width() / kBoardSize;
  return QPointF(board.left() + (columnOf(square) + 0.5) * cell, board.top() + (rowOf(square) + 0.5) * cell).toPoint();
}

bool isFramed(const QImage& image, const QRectF& board, int square) {
  const qreal cell = board.width() / kBoardSize;
  const QPointF leftBar(board.left() + columnOf(square) * cell + 1, board.top() + (rowOf(square) + 0.5) * cell);
  return image.pixelColor((leftBar * image.devicePixelRatio()).toPoint()) == palette::kFrameYellow;
}

QColor pixelAt(const QImage& image, QPointF at) { return image.pixelColor((at * image.devicePixelRatio()).toPoint()); }

}  // namespace

class BoardViewTest : public QObject {
  Q_OBJECT

 private slots:
  // The switches of the 表示 menu live in Qt's settings: the tests' own.
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
  }
  void init() {
    settings_ = twoHumans();
    frame_ = std::make_unique<CMainFrame>(settings_);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void cleanup() { frame_.reset(); }

  // Black plays d5 (column 3, row 4); a quarter turn clockwise takes
  // (column, row) to (9 - row, column), the mirror to (row, column).
  void theFrameFollowsTheTransforms_data() {
    QTest::addColumn<QList<int>>("commands");
    QTest::addColumn<QString>("framed");
    QTest::newRow("回転") << QList<int>{kRotate} << "f4";
    QTest::newRow("回転 twice") << QList<int>{kRotate, kRotate} << "g6";
    QTest::newRow("裏返し") << QList<int>{kMirror} << "e4";
    QTest::newRow("回転, 裏返し") << QList<int>{kRotate, kMirror} << "d6";
    QTest::newRow("回転 four times") << QList<int>(4, kRotate) << "d5";
  }
  void theFrameFollowsTheTransforms() {
    QFETCH(QList<int>, commands);
    QFETCH(QString, framed);
    GameController& game = frame_->controller();
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game.mode(), ViewMode::Playing);
    const QRectF board = drawnBoard(frame_->view()->grab().toImage());
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, centreOf(board, squareNamed("d5")));
    QTRY_COMPARE(game.game().history().size(), std::size_t(2));
    for (int id : commands) frame_->action(static_cast<Command>(id))->trigger();

    const int expected = squareNamed(framed.toLatin1().constData());
    QCOMPARE(game.game().lastMove(), expected);
    QCOMPARE(game.game().board()[expected], kBlack);
    const QImage image = frame_->view()->grab().toImage();
    for (int square = 0; square < kSquareCount; ++square) {
      QVERIFY2(isFramed(image, board, square) == (square == expected), qPrintable(QString::number(square)));
    }
  }

  // A move is drawn happening: at its start the placed disc has not grown
  // and the flipped one still shows white, while the game has gone on. A
  // click meanwhile ends it and is played; the board then shows both moves.
  void aClickDuringAnAnimationEndsItAndIsPlayed() {
    GameController& game = frame_->controller();
    CKaimoView* view = frame_->view();
    frame_->action(Command::Start)->trigger();
    QTRY_COMPARE(game.mode(), ViewMode::Playing);
    const QRectF board = drawnBoard(view->grab().toImage());
    const qreal cell = board.width() / kBoardSize;
    const int d5 = squareNamed("d5"), e5 = squareNamed("e5");
    // Inside a whole disc, in its shade, and outside a disc that has not grown yet.
    const auto rimOf = [&](int square) { return QPointF(centreOf(board, square)) + QPointF(cell * 10 / kCell, 0); };
    const QPointF nearRim = rimOf(d5);
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(board, d5));
    game.onTimer();  // the tick plays the click; no event has moved the animation on
    QVERIFY(view->isAnimating());
    QCOMPARE(game.game().history().size(), std::size_t(2));
    QImage image = view->grab().toImage();
    QCOMPARE(pixelAt(image, nearRim), palette::kGreenGround);
    QVERIFY(qGray(pixelAt(image, centreOf(board, e5)).rgb()) > 150);

    Board after;
    int reply = -1;
    for (int square : legalSquaresOf(game.game().board(), kWhite)) {
      boardPlay(game.game().board(), after, square, kWhite);
      if (after[d5] == kBlack && after[e5] == kBlack) reply = square;  // neither turns back
    }
    QVERIFY(reply >= 0);
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(board, reply));
    QVERIFY(!view->isAnimating());
    game.onTimer();
    QCOMPARE(game.game().history().size(), std::size_t(3));
    QCOMPARE(game.game().history()[1].move, reply);
    image = view->grab().toImage();
    QVERIFY(qGray(pixelAt(image, nearRim).rgb()) < 50);
    QVERIFY(qGray(pixelAt(image, rimOf(e5)).rgb()) < 50);
    QTRY_VERIFY(!view->isAnimating());
    QVERIFY(qGray(pixelAt(view->grab().toImage(), rimOf(reply)).rgb()) > 150);
  }

  // Switched off, a move is drawn at once.
  void noAnimationWhenSwitchedOff() {
    frame_->action(Command::AnimateMoves)->trigger();
    QVERIFY(!frame_->action(Command::AnimateMoves)->isChecked());
    GameController& game = frame_->controller();
    frame_->action(Command::Start)->trigger();
    game.onTimer();
    game.clickSquare(squareNamed("d5"));
    game.onTimer();
    QCOMPARE(game.game().history().size(), std::size_t(2));
    QVERIFY(!frame_->view()->isAnimating());
    frame_->action(Command::AnimateMoves)->trigger();  // on again for the other tests
  }

  // On every scale the widest value, a wipe-out, keeps to its own square.
  void aWipeOutFitsItsSquare_data() {
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("value");
    for (int cell : {32, 45, 64}) {
      QTest::addRow("+100 at %d px a cell", cell) << cell << 100 * SCORE_PER_DISC;
      QTest::addRow("-100 at %d px a cell", cell) << cell << -100 * SCORE_PER_DISC;
    }
  }
  void aWipeOutFitsItsSquare() {
    QFETCH(int, cell);
    QFETCH(int, value);
    const int square = squareNamed("c3");
    SquareValues values;
    values.fill(SCORE_NONE);
    values[square] = value;
    Board board;
    board.fill(kEmpty);
    const MoveMarks marks{};
    const ViewLayout layout{cell, 0, 0};
    QImage image(kViewCellsWide * cell, kViewCellsTall * cell, QImage::Format_RGB32);
    QPainter p(&image);
    paintBoardView(p, image.rect(), layout, BoardPicture{board, kBlack, marks, -1, values},
                   Artwork(qreal(cell) / kCell));
    p.end();

    // The white box behind the text, searched over the square and both neighbours.
    const int left = (squareLeft(square) * cell) / kCell;
    const int top = (squareTop(square) * cell) / kCell;
    QRect box;
    for (int y = top; y < top + cell; ++y) {
      for (int x = left - cell; x < left + 2 * cell; ++x) {
        if (image.pixelColor(x, y) == QColor(Qt::white)) box |= QRect(x, y, 1, 1);
      }
    }
    QVERIFY(QRect(left, top, cell, cell).contains(box));
    QVERIFY2(box.width() > cell * 3 / 4, "four characters are written");
  }

  // The board grows with the window; a click lands on the square drawn
  // under it (editing: a left click makes the square black).
  void clicksLandOnTheSquareDrawnUnderThem_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("square");
    for (const QSize size : {QSize(0, 0), QSize(1300, 800), QSize(1600, 1000)}) {
      for (const char* square : {"a1", "j10", "c7", "h2"}) {
        QTest::addRow("%dx%d %s", size.width(), size.height(), square) << size << QString(square);
      }
    }
  }
  void clicksLandOnTheSquareDrawnUnderThem() {
    QFETCH(QSize, size);
    QFETCH(QString, square);
    if (!size.isEmpty()) {
      frame_->resize(size);
      QTRY_COMPARE(frame_->size(), size);
    }
    GameController& game = frame_->controller();
    frame_->action(Command::EditBoard)->trigger();
    frame_->action(Command::EditBoard)->trigger();  // back to idle: the ground drawn green
    const QImage image = frame_->view()->grab().toImage();
    const QRectF board = drawnBoard(image);
    if (size.isEmpty()) {
      QCOMPARE(board.width(), qreal(kBoardSize * kCell));
    } else {
      QVERIFY(board.width() >= kBoardSize * kCell * 1.25);  // at least 40 px a cell
    }
    // The coordinates stand above and left of the board.
    const qreal cell = board.width() / kBoardSize;
    int coordinatePixels = 0;
    for (QRectF band : {QRectF(board.left(), board.top() - cell, board.width(), cell),
                        QRectF(board.left() - cell, board.top(), cell, board.height())}) {
      const QRect pixels =
          QRectF(band.topLeft() * image.devicePixelRatio(), band.size() * image.devicePixelRatio()).toRect();
      for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
          coordinatePixels += image.pixelColor(x, y) == palette::kCoordinateText;
        }
      }
    }
    QVERIFY(coordinatePixels > 20 * kBoardSize);

    frame_->action(Command::EditBoard)->trigger();
    const int target = squareNamed(square.toLatin1().constData());
    QTest::mouseClick(frame_->view(), Qt::LeftButton, {}, centreOf(board, target));
    for (int s = 0; s < kSquareCount; ++s) {
      const bool initialDisc = game.game().history()[0].board[s] != kEmpty;
      if (s == target) {
        QCOMPARE(game.game().board()[s], kBlack);
      } else if (!initialDisc) {
        QCOMPARE(game.game().board()[s], kEmpty);
      }
    }
  }

 private:
  PlayerSettings settings_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace kaimo

QTEST_MAIN(kaimo::BoardViewTest)
#include "board_view_test.moc"
