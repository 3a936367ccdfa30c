#include "app/controller/game_controller.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "app/controller/game_texts.h"
#include "app/settings/strength_levels.h"
#include "support/kr/kr_error.h"

namespace kaimo {
namespace {

// Depths are kept in the range the settings dialog accepts, whatever the file says.
constexpr int kMaxDepthSetting = 60;
// A computer side reads at least one ply: a normal depth of 0 (which the
// dialog accepts) would find no move at all and stop the game unexplained.
constexpr int kMinNormalDepth = 1;

int depthSetting(int depth) { return std::clamp(depth, 0, kMaxDepthSetting); }
int normalDepthSetting(int depth) { return std::clamp(depth, kMinNormalDepth, kMaxDepthSetting); }

// A computer's move reaches the board at the next tick of the window (its
// 100 ms timer): its budget leaves that much room.
constexpr std::int64_t kTickLatencyMs = 100;

}  // namespace

std::int64_t wallClockMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

GameController::GameController(PlayerSettings& settings, ControllerWindow& window, MsClock clock)
    : settings_(settings),
      window_(window),
      clock_(std::move(clock)),
      panes_(window),
      computer_(panes_, window),
      study_(game_, panes_, window),
      review_(game_, window) {}

int GameController::routineOf(int colour) const {
  const int routine = settings_.side(colour).routine;
  return routine >= 0 && routine < routineCount() ? routine : kHumanRoutine;
}

MoveMarks GameController::highlightMarks() const {
  MoveMarks marks{};
  if (mode_ == ViewMode::Playing && isHumanToMove()) {
    boardLegalMarks(game_.board(), game_.side(), marks);
  } else if (mode_ == ViewMode::Editing) {
    marks.fill(1);
  }
  return marks;
}

void GameController::goToPosition(int index) {
  if (index < 0 || index > game_.lastIndex()) return;
  stopThinking();
  game_.goTo(index);
  window_.requestRepaint();
}

void GameController::stopThinking() {
  if (mode_ == ViewMode::Idle) {
    // Nothing runs: the panes keep what they say, such as a game's final count.
    study_.clear();
    window_.requestRepaint();
    return;
  }
  mode_ = ViewMode::Busy;
  study_.clear();
  window_.requestRepaint();
  // A failure the tick has not seen yet is still told; what else they left goes.
  const bool searchFailed = computer_.stop();
  const bool analysisFailed = study_.stopAnalysis();
  postedSquare_ = -1;
  becomeIdle();
  if (searchFailed || analysisFailed) tellEvalError();
}

void GameController::turnStep() {
  const Board& board = game_.board();
  if (boardMobility(board, game_.side()) == 0) {
    if (boardMobility(board, opponentOf(game_.side())) == 0) {
      finishGame();
      return;
    }
    pass();
  }
  if (isHumanToMove()) {
    startHumanTurn();
  } else {
    startComputerTurn();
  }
}

void GameController::onTimer() {
  if (ticking_) return;
  ticking_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{ticking_};
  review_.update();
  study_.tickHint();
  tickAnalysis();
  if (mode_ == ViewMode::Playing) {
    const int side = game_.side();
    if (isHumanToMove() && times_.loseOnTime && postedSquare_ < 0 && clocks_.ranOut(side, nowMs())) {
      loseOnTime(side);
      return;
    }
    tickPlaying();
    if (clocks_.running() >= 0) window_.requestRepaint();  // the clock on the panel
  } else if (mode_ == ViewMode::NextTurn) {
    turnStep();
  }
}

void GameController::start() {
  if (!canStart()) return;
  // A game from its first position, or after one ended, starts with full clocks.
  if (clocksSpent_ || game_.cursor() == 0) clocks_.reset(times_);
  clocksSpent_ = false;
  lostOnTime_ = -1;
  mode_ = ViewMode::NextTurn;
  study_.clear();
  // "停止", a final count, a best move or a request to start: all said of
  // the state that ends here.
  panes_.clearAll();
  window_.requestRepaint();
}

int GameController::takeBackTarget() const {
  if (isBusy() || mode_ == ViewMode::Editing) return -1;
  const int cursor = game_.cursor();
  if (againstComputer() && gameGoesOn()) {
    const int human = routineOf(kBlack) == kHumanRoutine ? kBlack : kWhite;
    for (int entry = cursor - 1; entry >= 0; --entry) {
      if (game_.history()[entry].side == human) return entry;
    }
    return -1;
  }
  return cursor > 0 ? cursor - 1 : -1;
}

bool GameController::againstComputer() const {
  return (routineOf(kBlack) == kHumanRoutine) != (routineOf(kWhite) == kHumanRoutine);
}

// A game is under way, or has just ended on the position shown.
bool GameController::gameGoesOn() const {
  if (mode_ == ViewMode::Playing || mode_ == ViewMode::NextTurn) return true;
  return mode_ == ViewMode::Idle && game_.cursor() == game_.lastIndex() && historyEndsGame(game_.history());
}

bool GameController::goesOnAfterStep() const {
  const bool humansOnly = routineOf(kBlack) == kHumanRoutine && routineOf(kWhite) == kHumanRoutine;
  return gameGoesOn() && (againstComputer() || humansOnly);
}

void GameController::takeBack() {
  const int target = takeBackTarget();
  if (target < 0) return;
  const bool goesOn = goesOnAfterStep();
  clearFinalCount();
  stopThinking();
  game_.takeBackTo(target);
  continueAfterStep(goesOn);
}

bool GameController::canRedo() const {
  return !isBusy() && mode_ != ViewMode::Editing && game_.redoTarget() >= 0;
}

void GameController::redo() {
  if (!canRedo()) return;
  const bool goesOn = goesOnAfterStep();
  stopThinking();
  game_.redo();
  continueAfterStep(goesOn);
}

void GameController::continueAfterStep(bool goesOn) {
  window_.requestRepaint();
  if (!goesOn) return;
  panes_.set(kProgressPane, {});
  turnStep();
}

void GameController::swapSides() {
  if (isBusy()) return;
  const bool running = mode_ == ViewMode::Playing;
  // The search under way is for the player who leaves that side.
  if (running) stopThinking();
  std::swap(settings_.black, settings_.white);
  window_.requestRepaint();
  if (!running) return;
  panes_.set(kProgressPane, {});
  turnStep();
}

void GameController::clickSquare(int square) {
  if (mode_ == ViewMode::Idle) {
    panes_.set(kProgressPane, texts::kStartFirst);
    return;
  }
  if (mode_ != ViewMode::Playing || !isHumanToMove()) return;
  if (square < 0 || square >= kSquareCount) return;
  const Board& board = game_.board();
  Board scratch;
  if (board[square] == kEmpty && boardPlay(board, scratch, square, game_.side()) > 1) {
    postedSquare_ = square;
  } else {
    panes_.set(kProgressPane, texts::kCannotPlayThere);
  }
}

SideSettings GameController::sideSettingsOf(int colour) const {
  const SidePlayer& player = settings_.side(colour);
  return SideSettings{
      .routine = routineOf(colour),
      .normalDepth = normalDepthSetting(player.normalDepth),
      .exactDepth = depthSetting(player.exactDepth),
      .winDepth = depthSetting(player.winDepth),
      .probCut = player.probCut != 0,
      .cutValue = player.cutConfidence,
      .probCutMaxDepth = player.cutDepthLimit,
      .probCutAboveEmpties = player.cutEmptiesLimit,
  };
}

void GameController::finishGame() {
  clocks_.stop(nowMs());
  clocksSpent_ = true;
  panes_.set(kProgressPane, texts::kGameOver);
  mode_ = ViewMode::Idle;
  study_.clear();
  computer_.clearThinking();
  DiscCounts counts;
  boardCount(game_.board(), counts);
  panes_.set(kBlackPane, texts::blackCountText(counts[0]));
  panes_.set(kWhitePane, texts::whiteCountText(counts[1]));
  window_.requestRepaint();
  window_.gameEvent(GameEvent::GameOver);
  window_.showMessage(texts::gameOverText(counts[0], counts[1]));
}

// The count finishGame shows is said of the game's last position.
void GameController::clearFinalCount() {
  DiscCounts counts;
  boardCount(game_.history().back().board, counts);
  panes_.clearIf(kBlackPane, texts::blackCountText(counts[0]));
  panes_.clearIf(kWhitePane, texts::whiteCountText(counts[1]));
}

texts::Wording GameController::gameSummary(const texts::MoveMark& mark) const {
  if (mode_ == ViewMode::Playing || mode_ == ViewMode::NextTurn) return {};
  return review_.summary(mark);
}

void GameController::pass() {
  const int passer = game_.side();
  game_.pass();
  const texts::Wording text = texts::passText(passer);
  panes_.set(passer + 1, text);
  window_.gameEvent(GameEvent::Pass);
  window_.showNotice(text);
}

void GameController::startComputerTurn() {
  mode_ = ViewMode::Playing;
  study_.clear();
  window_.requestRepaint();
  computer_.clearThinking();
  clocks_.start(game_.side(), nowMs());
  if (playFromBook()) return;
  computer_.startSearch(game_.board(), game_.side(), sideSettingsOf(game_.side()), budgetOf(game_.side()));
}

std::optional<MoveBudget> GameController::budgetOf(int side) const {
  if (!clocks_.timed(side)) return std::nullopt;
  return budgetFor(clocks_.controlOf(side), clocks_.remainingMs(side, nowMs()), boardEmptyCount(game_.board()),
                   kTickLatencyMs);
}

// The book's move is posted like a click and played at the next tick.
bool GameController::playFromBook() {
  const int side = game_.side();
  const std::optional<BookMove> pick = book_.pickMove(game_.board(), side, sideSettingsOf(side));
  if (!pick) return false;
  computer_.showBookMove(side, routineOf(side), *pick);
  postedSquare_ = pick->square;
  return true;
}

void GameController::startHumanTurn() {
  // The pane may still say that this side passed before the last reply.
  panes_.set(game_.side() + 1, {});
  postedSquare_ = -1;
  mode_ = ViewMode::Playing;
  clocks_.start(game_.side(), nowMs());
  study_.clear();
  window_.requestRepaint();
}

void GameController::tickPlaying() {
  if (postedSquare_ >= 0) {
    panes_.clearIf(kProgressPane, texts::kCannotPlayThere);
    playPosted(std::exchange(postedSquare_, -1));
    return;
  }
  if (isHumanToMove()) return;
  const std::optional<ThinkResult> result = computer_.follow(game_.side());
  if (!result) return;
  if (result->move < 0) {
    becomeIdle();
    if (result->evalFailed) tellEvalError();
    return;
  }
  if (result->value != SCORE_NONE) {
    panes_.set(game_.side() + 1, texts::valueText(result->value, texts::sourceOf(computer_.thinking())));
  }
  computer_.movePlayed();
  playPosted(result->move);
}

// The endgame analysis holds the mode Busy until it returns its values.
void GameController::tickAnalysis() {
  const std::optional<ValuesResult> result = study_.followAnalysis();
  if (!result) return;
  becomeIdle();
  study_.showAnalysis(*result);
  if (result->evalFailed) tellEvalError();
}

void GameController::playPosted(int square) {
  clocks_.moved(game_.side(), nowMs());
  mode_ = ViewMode::Busy;
  study_.clear();
  window_.requestRepaint();
  if (game_.playMove(square)) {
    window_.requestRepaint();
    window_.gameEvent(GameEvent::Move);
    turnStep();
  } else {
    becomeIdle();  // a square that cannot be played here ends the game rather than hanging in Busy
  }
}

void GameController::becomeIdle() {
  clocks_.stop(nowMs());
  panes_.set(kProgressPane, texts::kStopped);
  mode_ = ViewMode::Idle;
  study_.clear();
  computer_.clearThinking();
  panes_.clearSides();
  window_.requestRepaint();
}

void GameController::loseOnTime(int side) {
  stopThinking();
  clocksSpent_ = true;
  lostOnTime_ = side;
  panes_.set(kProgressPane, texts::kTimeUp);
  window_.requestRepaint();
  window_.showMessage(texts::timeLossText(side));
}

void GameController::applyTimes(const TimeSettings& times) {
  times_ = times;
  clocks_.reset(times_);
  clocksSpent_ = true;
  lostOnTime_ = -1;
}

texts::Wording GameController::playerText(int colour) const {
  const SidePlayer& p = settings_.side(colour);
  const SideTime& time = times_.side(colour);
  const int routine = routineOf(colour);
  const int msPerMove = time.mode == TimeMode::PerMove ? time.perMoveMs : 0;
  const int level = time.mode == TimeMode::Clock
                        ? 0
                        : levelOf(p.normalDepth, p.winDepth, p.exactDepth, p.probCut != 0, msPerMove);
  return texts::playerText(routine, routine != kHumanRoutine, level,
                           {p.normalDepth, p.winDepth, p.exactDepth}, time);
}

texts::Wording GameController::clockText(int colour) const {
  return texts::clockText(clocks_.timeOf(colour).mode, clocks_.shownMs(colour, nowMs()));
}

void GameController::tellEvalError() {
  window_.showMessage(texts::inBoth([](Language l) { return kr_messageWithErrorLog(texts::kEvalError.in(l)); }));
}

}  // namespace kaimo
