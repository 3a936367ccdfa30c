#include "app/controller/game_controller.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "app/controller/exchange.h"
#include "app/controller/game_texts.h"
#include "app/controller/think_worker.h"
#include "engine/book/book_choice.h"
#include "engine/search/search_team.h"
#include "support/kr/kr_error.h"

namespace kaimo {
namespace {

// How often stopThinking looks whether the worker has posted.
constexpr auto kStopPollInterval = std::chrono::milliseconds(50);
// Depths are kept in the range the settings dialog accepts, whatever the file says.
constexpr int kMaxDepthSetting = 60;
// A computer side reads at least one ply: a normal depth of 0 (which the
// dialog accepts) would find no move at all and stop the game unexplained.
constexpr int kMinNormalDepth = 1;

int depthSetting(std::int32_t word) { return std::clamp<int>(word, 0, kMaxDepthSetting); }
int normalDepthSetting(std::int32_t word) { return std::clamp<int>(word, kMinNormalDepth, kMaxDepthSetting); }

}  // namespace

GameController::GameController(PlayerSettings& settings, ControllerWindow& window)
    : settings_(settings), window_(window) {
  exchange().clear();
  clearSquareValues();
  newGame();
}

GameController::~GameController() {
  if (!worker_.joinable()) return;
  exchange().requestStop(1);
  worker_.join();
  exchange().requestStop(0);
}

int GameController::routineOf(int colour) const {
  const int routine = settings_[colour == kBlack ? kBlackRoutineWord : kWhiteRoutineWord];
  return routine >= 0 && routine < routineCount() ? routine : kHumanRoutine;
}

MoveMarks GameController::highlightMarks() const {
  MoveMarks marks{};
  if (mode_ == ViewMode::Playing && isHumanToMove()) {
    boardLegalMarks(board_, side_, marks);
  } else if (mode_ == ViewMode::Editing) {
    marks.fill(1);
  }
  return marks;
}

void GameController::newGame() {
  side_ = boardInit(board_);
  cursor_ = 0;
  history_.assign(1, HistoryEntry{side_, -1, board_});
  lastMove_ = -1;
  movesUnsaved_ = false;
  recordPath_.clear();
}

bool GameController::playMove(int square) {
  if (square < 0 || square >= kSquareCount) return false;
  Board next;
  if (boardPlay(board_, next, square, side_) <= 1) return false;
  history_.resize(cursor_ + 2);
  history_[cursor_] = HistoryEntry{side_, square, board_};
  ++cursor_;
  side_ = opponentOf(side_);
  board_ = next;
  history_[cursor_] = HistoryEntry{side_, -1, board_};
  lastMove_ = square;
  movesUnsaved_ = true;
  window_.requestRepaint();
  return true;
}

void GameController::goToPosition(int index) {
  if (index < 0 || index >= static_cast<int>(history_.size())) return;
  stopThinking();
  cursor_ = index;
  board_ = history_[index].board;
  side_ = history_[index].side;
  lastMove_ = index > 0 ? history_[index - 1].move : -1;
  window_.requestRepaint();
}

void GameController::stopThinking() {
  if (mode_ == ViewMode::Idle) {
    // Nothing runs: the panes keep what they say, such as a game's final count.
    clearSquareValues();
    window_.requestRepaint();
    return;
  }
  mode_ = ViewMode::Busy;
  clearSquareValues();
  window_.requestRepaint();
  exchange().requestStop(1);
  for (;;) {
    const ThinkResult result = exchange().readResult();
    if (result.finished == 1 || result.workerMarker == 0) break;
    std::this_thread::sleep_for(kStopPollInterval);
  }
  joinWorker();
  exchange().requestStop(0);
  discardStatusTexts();
  becomeIdle();
  tellEvalError();
}

void GameController::turnStep() {
  if (boardMobility(board_, side_) == 0) {
    if (boardMobility(board_, opponentOf(side_)) == 0) {
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
  updateReview();
  tickHint();
  if (mode_ == ViewMode::Playing) {
    tickPlaying();
  } else if (mode_ == ViewMode::NextTurn) {
    turnStep();
  } else if (mode_ == ViewMode::Busy) {
    tickAnalysis();
  }
}

void GameController::start() {
  if (!canStart()) return;
  mode_ = ViewMode::NextTurn;
  clearSquareValues();
  // "停止", a final count, a best move or a request to start: all said of
  // the state that ends here.
  for (int pane : {kProgressPane, kBlackPane, kWhitePane}) {
    if (!paneTexts_[pane].empty()) setPane(pane, "");
  }
  window_.requestRepaint();
}

int GameController::takeBackTarget() const {
  if (isBusy() || mode_ == ViewMode::Editing) return -1;
  if (againstComputer() && gameGoesOn()) {
    const int human = routineOf(kBlack) == kHumanRoutine ? kBlack : kWhite;
    for (int entry = cursor_ - 1; entry >= 0; --entry) {
      if (history_[entry].side == human) return entry;
    }
    return -1;
  }
  return cursor_ > 0 ? cursor_ - 1 : -1;
}

bool GameController::againstComputer() const {
  return (routineOf(kBlack) == kHumanRoutine) != (routineOf(kWhite) == kHumanRoutine);
}

// A game is under way, or has just ended on the position shown.
bool GameController::gameGoesOn() const {
  if (mode_ == ViewMode::Playing || mode_ == ViewMode::NextTurn) return true;
  return mode_ == ViewMode::Idle && cursor_ == static_cast<int>(history_.size()) - 1 && historyEndsGame(history_);
}

void GameController::takeBack() {
  const int target = takeBackTarget();
  if (target < 0) return;
  const bool humansOnly = routineOf(kBlack) == kHumanRoutine && routineOf(kWhite) == kHumanRoutine;
  const bool goesOn = gameGoesOn() && (againstComputer() || humansOnly);
  goToPosition(target);
  if (!goesOn) return;
  setPane(kProgressPane, "");
  turnStep();
}

void GameController::clickSquare(int square) {
  if (mode_ == ViewMode::Idle) {
    setPane(kProgressPane, texts::kStartFirst);
    return;
  }
  if (mode_ != ViewMode::Playing || !isHumanToMove()) return;
  if (square < 0 || square >= kSquareCount) return;
  Board scratch;
  if (board_[square] == kEmpty && boardPlay(board_, scratch, square, side_) > 1) {
    exchange().postResult(square, SCORE_NONE);
  } else {
    setPane(kProgressPane, texts::kCannotPlayThere);
  }
}

SideSettings GameController::sideSettingsOf(int colour) const {
  const bool black = colour == kBlack;
  const PlayerSettings& s = settings_;
  return SideSettings{
      routineOf(colour),
      normalDepthSetting(s[black ? kBlackNormalDepthWord : kWhiteNormalDepthWord]),
      depthSetting(s[black ? kBlackExactDepthWord : kWhiteExactDepthWord]),
      depthSetting(s[black ? kBlackWinDepthWord : kWhiteWinDepthWord]),
      s[black ? kBlackProbCutWord : kWhiteProbCutWord],
      s[black ? kBlackCutValueWord : kWhiteCutValueWord],
      s[black ? kBlackProbCutAWord : kWhiteProbCutAWord],
      s[black ? kBlackProbCutBWord : kWhiteProbCutBWord],
  };
}

void GameController::finishGame() {
  setPane(kProgressPane, texts::kGameOver);
  mode_ = ViewMode::Idle;
  clearSquareValues();
  clearThinking();
  DiscCounts counts;
  boardCount(board_, counts);
  setPane(kBlackPane, texts::blackCountText(counts[0]));
  setPane(kWhitePane, texts::whiteCountText(counts[1]));
  window_.requestRepaint();
  window_.showMessage(texts::gameOverText(counts[0], counts[1]));
}

void GameController::pass() {
  const std::string text = texts::passText(side_);
  setPane(side_ + 1, text);
  window_.showNotice(text);
  side_ = opponentOf(side_);
}

void GameController::startComputerTurn() {
  joinWorker();
  exchange().resetResult(1);
  mode_ = ViewMode::Playing;
  clearSquareValues();
  window_.requestRepaint();
  clearThinking();  // and the last search's line, if nobody took it
  if (playFromBook()) return;
  setPane(side_ + 1, texts::kThinking);
  thinking_ = ThinkingDisplay{side_, routineOf(side_), true, false, {}};
  window_.studyChanged();
  searchBoard_ = board_;
  prepareComputerMove(job_, searchBoard_, side_, sideSettingsOf(side_), exchange().stopToken(), &thinkProgress_,
                      defaultSearchThreads());
  launchThinkWorker();
}

// The book's move is posted like a worker's result and played at the next tick.
bool GameController::playFromBook() {
  movedFromBook_ = false;
  if (!bookEnabled_ || !book_) return false;
  const std::optional<BookMove> pick = pickBookMove(*book_, board_, side_, sideSettingsOf(side_), bookRandom_);
  if (!pick) return false;
  movedFromBook_ = true;
  setPane(kProgressPane, texts::kBookMove);
  setPane(side_ + 1, texts::kBookMove);
  ThinkingLine line;
  line.value = bookValueToScore(pick->value);
  line.moves = {pick->square};
  thinking_ = ThinkingDisplay{side_, routineOf(side_), false, true, line};
  window_.studyChanged();
  exchange().postResult(pick->square, line.value);
  return true;
}

void GameController::startHumanTurn() {
  movedFromBook_ = false;
  // The pane may still say that this side passed before the last reply.
  setPane(side_ + 1, "");
  exchange().resetResult(0);
  mode_ = ViewMode::Playing;
  clearSquareValues();
  window_.requestRepaint();
}

void GameController::tickPlaying() {
  forwardStatusTexts();
  takeThinking();
  const ThinkResult result = exchange().readResult();
  if (result.finished != 1) return;
  joinWorker();
  if (result.move < 0) {
    becomeIdle();
    tellEvalError();
    return;
  }
  if (result.value != SCORE_NONE) {
    setPane(side_ + 1, movedFromBook_ ? texts::bookMoveText(result.value) : texts::evaluationText(result.value));
  }
  if (isHumanToMove()) {
    clearPaneIf(kProgressPane, texts::kCannotPlayThere);
  } else if (!movedFromBook_) {
    takeThinking();  // the line of the finished search
    thinking_.searching = false;
    window_.studyChanged();
  }
  mode_ = ViewMode::Busy;
  clearSquareValues();
  window_.requestRepaint();
  if (playMove(result.move)) {
    turnStep();
  } else {
    becomeIdle();  // a square that cannot be played here ends the game rather than hanging in Busy
  }
}

void GameController::forwardStatusTexts() {
  std::string text;
  for (int slot = 0; slot < kStatusSlotCount; ++slot) {
    if (exchange().takeStatusText(slot, text)) setPane(slot, text);
  }
}

void GameController::takeThinking() {
  ThinkingLine line;
  if (!exchange().takeThinking(line) || thinking_.colour < 0) return;
  thinking_.line = line;
  window_.studyChanged();
}

void GameController::clearThinking() {
  ThinkingLine stale;
  exchange().takeThinking(stale);
  if (thinking_.colour < 0) return;
  thinking_ = ThinkingDisplay{};
  window_.studyChanged();
}

void GameController::setPane(int pane, const std::string& text) {
  paneTexts_[pane] = text;
  window_.setPaneText(pane, text);
}

void GameController::clearPaneIf(int pane, const std::string& text) {
  if (paneTexts_[pane] == text) setPane(pane, "");
}

void GameController::clearSquareValues() {
  hint_.halt();
  hintRunning_ = false;
  squareValues_.fill(SCORE_NONE);
  hintMove_ = -1;
  if (!hintPaneText_.empty()) clearPaneIf(kProgressPane, hintPaneText_);
  hintPaneText_.clear();
}

void GameController::becomeIdle() {
  setPane(kProgressPane, texts::kStopped);
  mode_ = ViewMode::Idle;
  clearSquareValues();
  clearThinking();
  setPane(kBlackPane, "");
  setPane(kWhitePane, "");
  window_.requestRepaint();
}

void GameController::discardStatusTexts() {
  // What a stopped worker wrote last would otherwise reach the panes at the
  // next game's first tick.
  std::string text;
  for (int slot = 0; slot < kStatusSlotCount; ++slot) exchange().takeStatusText(slot, text);
}

void GameController::launchThinkWorker() {
  try {
    worker_ = std::thread(thinkWorker, &job_);
  } catch (const std::system_error&) {
    exchange().postResult(-1, SCORE_NONE);  // no thread: the next tick stops the game
  }
}

void GameController::launchAnalysisWorker() {
  try {
    worker_ = std::thread(analysisWorker, &analysisJob_);
  } catch (const std::system_error&) {
    SquareValues none;
    none.fill(SCORE_NONE);
    exchange().postAnalysisDone(none);  // no thread: the next tick ends the analysis empty
  }
}

void GameController::joinWorker() {
  if (worker_.joinable()) worker_.join();
}

void GameController::tellEvalError() {
  if (exchange().takeEvalError()) window_.showMessage(kr_messageWithErrorLog(texts::kEvalError));
}

}  // namespace kaimo
