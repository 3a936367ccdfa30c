// The game on screen survives a crash: a window in a child process (this
// program again, told so by its environment) plays a game and is killed
// with SIGKILL; the next window offers the game and brings it back move for
// move. A clean end leaves nothing, a damaged file is refused, and a second
// window keeps its hands off the game of one that runs.
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/window/commands.h"
#include "app/window/main_frame.h"

namespace kaimo {
namespace {

// Set to the kept game's path, it makes this program the window that is killed.
constexpr const char* kChildVariable = "KAIMO_KEPT_GAME_CHILD";
constexpr int kMovesPlayed = 5;
constexpr int kPositionShown = 3;
constexpr int kBlackDepth = 7;  // the players come back too

PlayerSettings twoHumans() {
  PlayerSettings s = PlayerSettings::defaults();
  s.black.routine = 0;
  s.white.routine = 0;
  return s;
}

int firstLegalSquare(const Game& game) {
  MoveMarks marks;
  boardLegalMarks(game.board(), game.side(), marks);
  for (int s = 0; s < kSquareCount; ++s) {
    if (marks[s]) return s;
  }
  return -1;
}

// The history the child plays: the first legal square five times.
History expectedHistory() {
  Game game;
  for (int i = 0; i < kMovesPlayed; ++i) game.playMove(firstLegalSquare(game));
  return game.history();
}

// The child: plays, steps back, says so, and waits to be killed.
int playAndWaitForTheKill(const std::string& path) {
  PlayerSettings settings = twoHumans();
  settings.black.normalDepth = kBlackDepth;
  CMainFrame frame(settings);
  if (!frame.keepGameIn(path)) return 2;
  frame.show();
  GameController& controller = frame.controller();
  frame.action(Command::Start)->trigger();
  controller.onTimer();
  for (int i = 0; i < kMovesPlayed; ++i) {
    controller.clickSquare(firstLegalSquare(controller.game()));
    controller.onTimer();
  }
  controller.goToPosition(kPositionShown);
  std::printf("kept\n");
  std::fflush(stdout);
  return QApplication::exec();
}

}  // namespace

class KeptGameWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    path_ = dir_.filePath(QStringLiteral("kaimo-game.txt")).toStdString();
    std::filesystem::remove(path_);
    questions_.clear();
    messages_.clear();
  }

  void aKilledWindowsGameComesBackMoveForMove() {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), QString::fromStdString(path_));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    QByteArray said;
    QTRY_VERIFY2_WITH_TIMEOUT((said += child.readAllStandardOutput()).contains("kept"),
                              child.readAllStandardError().constData(), 60000);
    child.kill();  // SIGKILL: no destructor runs
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QVERIFY(std::filesystem::exists(path_));

    PlayerSettings settings = twoHumans();
    auto frame = newFrame(settings, true);
    QVERIFY(frame->keepGameIn(path_));
    QCOMPARE(questions_.size(), 1);
    const Game& game = frame->controller().game();
    QVERIFY(game.history() == expectedHistory());
    QCOMPARE(game.cursor(), kPositionShown);
    QVERIFY(game.board() == expectedHistory()[kPositionShown].board);
    QCOMPARE(settings.black.normalDepth, kBlackDepth);
    QVERIFY(game.hasUnsavedGame());
    frame.reset();  // a clean end
    QVERIFY(!std::filesystem::exists(path_));
  }

  // Declined, the game goes; played again, it is kept again.
  void aDeclinedGameGoesAndANewOneIsKept() {
    {
      PlayerSettings settings = twoHumans();
      auto first = newFrame(settings, true);
      QVERIFY(first->keepGameIn(path_));
      QVERIFY(!std::filesystem::exists(path_));  // nothing unsaved yet
      first->action(Command::Start)->trigger();
      first->controller().onTimer();
      first->controller().clickSquare(firstLegalSquare(first->controller().game()));
      first->controller().onTimer();
      QVERIFY(std::filesystem::exists(path_));
      // A second window while the first runs: neither offers nor writes.
      auto second = newFrame(settings, true);
      QVERIFY(!second->keepGameIn(path_));
      QVERIFY(questions_.isEmpty());
      second.reset();
      QVERIFY(std::filesystem::exists(path_));
      // Saved, there is nothing to keep.
      const QString record = dir_.filePath(QStringLiteral("saved.txt"));
      first->dialogs().setFileChooser([&](RecordFileUse) { return record; });
      first->action(Command::SaveRecord)->trigger();
      QVERIFY(!std::filesystem::exists(path_));
    }
    std::FILE* kept = std::fopen(path_.c_str(), "w");
    std::fputs("Kaimo kept game 1\nplayers", kept);  // cut short
    std::fclose(kept);
    PlayerSettings settings = twoHumans();
    auto frame = newFrame(settings, false);
    QVERIFY(frame->keepGameIn(path_));
    QVERIFY(questions_.isEmpty());
    QCOMPARE(messages_.size(), 1);
    QVERIFY(std::filesystem::exists(path_ + ".bad"));
    QVERIFY(!std::filesystem::exists(path_));
    QCOMPARE(frame->controller().game().history().size(), 1u);
  }

 private:
  std::unique_ptr<CMainFrame> newFrame(PlayerSettings& settings, bool answer) {
    auto frame = std::make_unique<CMainFrame>(settings);
    frame->dialogs().setQuestionHandler([this, answer](const QString& text) {
      questions_ << text;
      return answer;
    });
    frame->dialogs().setMessageHandler([this](const QString& text) { messages_ << text; });
    return frame;
  }

  QTemporaryDir dir_;
  std::string path_;
  QStringList questions_;
  QStringList messages_;
};

}  // namespace kaimo

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QByteArray child = qgetenv(kaimo::kChildVariable);
  if (!child.isEmpty()) return kaimo::playAndWaitForTheKill(child.toStdString());
  kaimo::KeptGameWindowTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "kept_game_window_test.moc"
