// kaimo-window-probe: plays one game in the real window, a seeded random
// player for black against "狸" for white, with the move list and the
// review's graph following it, and measures the window thread: how long
// each event takes to handle (the steps), and how late a precise 1 ms timer
// fires (which adds the system's scheduling on a busy machine). Optionally
// shows the hint once and takes screenshots: the player settings dialog,
// the hint, the finished game with its review, and (after the figures are
// taken) the endgame analysis of the position 16 moves before the end.
// Prints both, then exits. The window speaks the system's language (or the
// one chosen in it before).
//
//   kaimo-window-probe [--seed S] [--depth N] [--think MS] [--shots DIR]
//
// With PROBE_NO_PANE set in the environment the move list and the graph are
// hidden, for a comparison without them.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "app/window/commands.h"
#include "app/window/main_frame.h"
#include "app/window/player_settings_dialog.h"
#include "app/window/study_pane.h"
#include "engine/eval/score.h"

namespace {

using namespace kaimo;

struct Options {
  unsigned seed = 1;
  int depth = 6;      // white's normal depth
  int thinkMs = 150;  // how long the random player waits before it moves
  QString shots;      // screenshots go here when set
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--seed") == 0) {
      o.seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
    } else if (std::strcmp(argv[i], "--depth") == 0) {
      o.depth = std::atoi(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--think") == 0) {
      o.thinkMs = std::atoi(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--shots") == 0) {
      o.shots = QString::fromLocal8Bit(argv[i + 1]);
    }
  }
  return o;
}

double threadCpuMs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Times every event the window thread handles, outermost dispatch only.
class TimedApplication : public QApplication {
 public:
  TimedApplication(int& argc, char** argv) : QApplication(argc, argv) { sinceStart_.start(); }
  bool notify(QObject* receiver, QEvent* event) override {
    if (depth_++ > 0) {
      const bool handled = QApplication::notify(receiver, event);
      --depth_;
      return handled;
    }
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = threadCpuMs();
    const int type = event->type();
    const QByteArray name = receiver->metaObject()->className();
    const bool handled = QApplication::notify(receiver, event);
    --depth_;
    const double ms = clock.nsecsElapsed() / 1e6;
    const QByteArray what = name + " event " + QByteArray::number(type);
    steps_.push_back(Step{ms, threadCpuMs() - cpuBefore, sinceStart_.elapsed(), what});
    return handled;
  }
  // Steps before `from` milliseconds (the window's first showing) are left out.
  void report(qint64 from) {
    std::vector<Step> steps;
    for (const Step& step : steps_) {
      if (step.at >= from) steps.push_back(step);
    }
    std::sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.ms > b.ms; });
    std::printf("window thread: %zu events handled during the game; 99%% within %.2f ms, 99.9%% within %.2f ms\n",
                steps.size(), steps[steps.size() / 100].ms, steps[steps.size() / 1000].ms);
    for (std::size_t i = 0; i < 5 && i < steps.size(); ++i) {
      std::printf("  %.2f ms (processor %.2f ms) at %lld ms: %s\n", steps[i].ms, steps[i].cpuMs,
                  static_cast<long long>(steps[i].at), steps[i].what.constData());
    }
    const auto busiest =
        std::max_element(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.cpuMs < b.cpuMs; });
    std::printf("  longest in processor time: %.2f ms (wall %.2f ms): %s\n", busiest->cpuMs, busiest->ms,
                busiest->what.constData());
  }
  qint64 elapsed() const { return sinceStart_.elapsed(); }

 private:
  struct Step {
    double ms;     // wall clock, which a busy machine stretches
    double cpuMs;  // the window thread's own processor time
    qint64 at;
    QByteArray what;
  };
  int depth_ = 0;
  QElapsedTimer sinceStart_;
  std::vector<Step> steps_;
};

// The gaps between the firings of a timer asked to fire every millisecond:
// a gap is as long as the longest thing the window thread did in between.
class LoopProbe {
 public:
  LoopProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (clock_.isValid()) gaps_.push_back(clock_.nsecsElapsed() / 1e6);
      clock_.restart();
    });
    timer_.start();
  }
  void report() {
    std::sort(gaps_.begin(), gaps_.end());
    auto quantile = [this](double q) { return gaps_[static_cast<std::size_t>(q * (gaps_.size() - 1))]; };
    std::printf("event loop: %zu gaps of a 1 ms timer; median %.2f ms, 99%% %.2f ms, 99.9%% %.2f ms, longest %.2f ms\n",
                gaps_.size(), quantile(0.5), quantile(0.99), quantile(0.999), gaps_.back());
  }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  std::vector<double> gaps_;
};

bool graphKnown(const GameController& controller) {
  for (const GraphPoint& p : controller.review().graphPoints()) {
    if (p.value == SCORE_NONE) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TimedApplication app(argc, argv);
  const Options options = parse(argc, argv);
  PlayerSettings settings = PlayerSettings::defaults();
  settings.black.routine = kHumanRoutine;
  settings.white.routine = kSimpleRoutine;
  settings.white.normalDepth = options.depth;

  CMainFrame frame(settings);
  frame.dialogs().setMessageHandler([](const QString&) {});  // passes and the final count: no modal box
  // The window closes at the end with the game unsaved: it is thrown away
  // instead of waiting for an answer nobody gives.
  frame.dialogs().setChoiceHandler([](const QString&) { return Answer::No; });
  frame.resize(1120, 720);
  if (qEnvironmentVariableIsSet("PROBE_NO_PANE")) frame.studyPane()->hide();
  frame.show();
  GameController& controller = frame.controller();
  std::mt19937 rng(options.seed);
  QElapsedTimer humanWait;
  bool hintShown = options.shots.isEmpty();
  bool awaitingHintShot = false;
  bool analysing = false;  // the game is over and reviewed: the analysis's turn
  auto shoot = [&](const char* name) {
    if (options.shots.isEmpty()) return;
    frame.grab().save(QDir(options.shots).filePath(QString::fromLatin1(name)));
  };

  if (!options.shots.isEmpty()) {
    CPlayerSettingsDialog dialog(settings, &frame, frame.language());
    dialog.show();
    dialog.grab().save(QDir(options.shots).filePath(QStringLiteral("player-settings.png")));
  }

  qint64 gameStart = -1;
  LoopProbe probe;
  QTimer driver;
  driver.setInterval(20);
  QObject::connect(&driver, &QTimer::timeout, [&] {
    if (awaitingHintShot) {
      // The hint leaves the game running: its best move marks its end.
      if (controller.study().bestSquare() < 0) return;
      awaitingHintShot = false;
      shoot("hint.png");
    }
    const bool over = historyEndsGame(controller.game().history());
    if (controller.mode() == ViewMode::Idle && over && !analysing) {
      if (!graphKnown(controller)) return;
      driver.stop();
      analysing = true;
      // Let the last repaints land before the picture is taken.
      QTimer::singleShot(300, [&] {
        shoot("finished-game.png");
        app.report(gameStart);
        probe.report();
        std::fflush(stdout);
        if (options.shots.isEmpty()) {
          app.quit();
          return;
        }
        controller.goToPosition(std::max(0, static_cast<int>(controller.game().history().size()) - 17));
        frame.action(Command::EndgameAnalysis)->trigger();
        driver.start();
      });
      return;
    }
    if (analysing) {
      // The analysis marks its best move when every move is read.
      if (controller.isBusy() || controller.study().bestSquare() < 0) return;
      driver.stop();
      QTimer::singleShot(300, [&] {
        shoot("analysis.png");
        app.quit();
      });
      return;
    }
    if (controller.mode() == ViewMode::Idle) {
      if (gameStart < 0) gameStart = app.elapsed();
      frame.action(Command::Start)->trigger();
      return;
    }
    if (controller.mode() != ViewMode::Playing || !controller.isHumanToMove()) return;
    if (!humanWait.isValid()) humanWait.start();
    if (humanWait.elapsed() < options.thinkMs) return;
    humanWait.invalidate();
    if (!hintShown && controller.game().history().size() > 40) {
      hintShown = true;
      awaitingHintShot = true;
      frame.action(Command::Hint)->trigger();
      return;
    }
    MoveMarks marks;
    boardLegalMarks(controller.game().board(), controller.game().side(), marks);
    std::vector<int> legal;
    for (int s = 0; s < kSquareCount; ++s) {
      if (marks[s]) legal.push_back(s);
    }
    if (!legal.empty()) controller.clickSquare(legal[rng() % legal.size()]);
  });
  driver.start();
  return app.exec();
}
