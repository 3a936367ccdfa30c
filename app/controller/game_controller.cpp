#include "app/controller/game_controller.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "app/controller/game_texts.h"
#include "engine/book/book_choice.h"
#include "support/kr/kr_error.h"

namespace kaimo {
namespace {

// Depths are kept in the range the settings dialog accepts, whatever the file says.
constexpr int kMaxDepthSetting = 60;
// A computer side reads at least one ply: a normal depth of 0 (which the
// dialog accepts) would find no move at all and stop the game unexplained.
constexpr int kMinNormalDepth = 1;

int depthSetting(std::int32_t word) { return std::clamp<int>(word, 0, kMaxDepthSetting); }
int normalDepthSetting(std::int32_t word) { return std::clamp<int>(word, kMinNormalDepth, kMaxDepthSetting); }

template <typename Result>
bool evaluationFailed(const std::optional<Result>& result) {
  return result && result->evalFailed;
}

}  // namespace

GameController::GameController(PlayerSettings& settings, ControllerWindow& window)
    : settings_(settings),
      window_(window),
      bookRandom_(static_cast<std::uint64_t>(std::time(nullptr))),
      seeds_(static_cast<unsigned>(std::time(nullptr))) {
  clearSquareValues();
  newGame();
}

int GameController::routineOf(int colour) const {
  const int routine = settings_.side(colour).routine;
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
  // The other colour is to move, and the turn step tells its pass; only a
  // move that ends the game keeps the turn, as a record read back has it.
  const bool gameOver = boardMobility(next, opponentOf(side_)) == 0 && boardMobility(next, side_) == 0;
  if (!gameOver) side_ = opponentOf(side_);
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
  // A search looks at its stop request every few hundred nodes: the wait is short.
  think_.stop();
  analysis_.stop();
  // A failure the tick has not seen yet is still told; what else they left goes.
  const bool failed = evaluationFailed(think_.takeResult()) || evaluationFailed(analysis_.takeResult());
  think_.cancel();
  analysis_.cancel();
  postedSquare_ = -1;
  becomeIdle();
  if (failed) tellEvalError();
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
  tickAnalysis();
  if (mode_ == ViewMode::Playing) {
    tickPlaying();
  } else if (mode_ == ViewMode::NextTurn) {
    turnStep();
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
    postedSquare_ = square;
  } else {
    setPane(kProgressPane, texts::kCannotPlayThere);
  }
}

SideSettings GameController::sideSettingsOf(int colour) const {
  const SidePlayer& player = settings_.side(colour);
  return SideSettings{
      routineOf(colour),
      normalDepthSetting(player.normalDepth),
      depthSetting(player.exactDepth),
      depthSetting(player.winDepth),
      player.probCut,
      player.cutConfidence,
      player.cutDepthLimit,
      player.cutEmptiesLimit,
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
  const int passer = side_;
  side_ = opponentOf(passer);
  // The game's last position goes to the colour that moves, as a record
  // read back gives it: a pass alone is no change to save.
  HistoryEntry& entry = history_[cursor_];
  if (cursor_ + 1 == static_cast<int>(history_.size()) && entry.board == board_ && entry.side == passer) {
    entry.side = side_;
  }
  const std::string text = texts::passText(passer);
  setPane(passer + 1, text);
  window_.showNotice(text);
}

void GameController::startComputerTurn() {
  mode_ = ViewMode::Playing;
  clearSquareValues();
  window_.requestRepaint();
  clearThinking();
  if (playFromBook()) return;
  setPane(side_ + 1, texts::kThinking);
  thinking_ = ThinkingDisplay{side_, routineOf(side_), true, false, {}};
  window_.studyChanged();
  // The job searches its own copy, so no command can change the board under it.
  think_.start([job = ThinkJob{board_, side_, sideSettingsOf(side_), static_cast<unsigned>(seeds_())}](
                   std::stop_token stop, ThinkWorker::Exchange& exchange) { return think(job, stop, exchange); });
}

// The book's move is posted like a click and played at the next tick.
bool GameController::playFromBook() {
  if (!bookEnabled_ || !book_) return false;
  const std::optional<BookMove> pick = pickBookMove(*book_, board_, side_, sideSettingsOf(side_), bookRandom_);
  if (!pick) return false;
  ThinkingLine line;
  line.value = bookValueToScore(pick->value);
  line.moves = {pick->square};
  setPane(kProgressPane, texts::kBookMove);
  setPane(side_ + 1, texts::bookMoveText(line.value));
  thinking_ = ThinkingDisplay{side_, routineOf(side_), false, true, line};
  window_.studyChanged();
  postedSquare_ = pick->square;
  return true;
}

void GameController::startHumanTurn() {
  // The pane may still say that this side passed before the last reply.
  setPane(side_ + 1, "");
  postedSquare_ = -1;
  mode_ = ViewMode::Playing;
  clearSquareValues();
  window_.requestRepaint();
}

void GameController::tickPlaying() {
  if (postedSquare_ >= 0) {
    clearPaneIf(kProgressPane, texts::kCannotPlayThere);
    playPosted(std::exchange(postedSquare_, -1));
    return;
  }
  if (isHumanToMove()) return;
  forwardThinkProgress();
  const std::optional<ThinkResult> result = think_.takeResult();
  if (!result) return;
  forwardThinkProgress();  // what it said as it returned: the line of the finished search
  if (result->move < 0) {
    becomeIdle();
    if (result->evalFailed) tellEvalError();
    return;
  }
  if (result->value != SCORE_NONE) setPane(side_ + 1, texts::evaluationText(result->value));
  thinking_.searching = false;
  window_.studyChanged();
  playPosted(result->move);
}

void GameController::playPosted(int square) {
  mode_ = ViewMode::Busy;
  clearSquareValues();
  window_.requestRepaint();
  if (playMove(square)) {
    turnStep();
  } else {
    becomeIdle();  // a square that cannot be played here ends the game rather than hanging in Busy
  }
}

void GameController::forwardThinkProgress() {
  const std::optional<ThinkProgress> progress = think_.takeProgress();
  if (!progress) return;
  if (progress->progressText) setPane(kProgressPane, *progress->progressText);
  if (progress->sideText) setPane(side_ + 1, *progress->sideText);
  if (progress->line && thinking_.colour >= 0) {
    thinking_.line = *progress->line;
    window_.studyChanged();
  }
}

void GameController::clearThinking() {
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
  hint_.cancel();
  squareValues_ = noSquareValues();
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

void GameController::tellEvalError() { window_.showMessage(kr_messageWithErrorLog(texts::kEvalError)); }

}  // namespace kaimo
