#include "app/controller/study_session.h"

#include "app/controller/game_texts.h"
#include "app/controller/move_values.h"
#include "engine/eval/routines.h"

namespace kaimo {

StudySession::StudySession(const Game& game, StatusPanes& panes, ControllerWindow& window)
    : game_(game), panes_(panes), window_(window), squareValues_(noSquareValues()) {}

void StudySession::clear() {
  hint_.cancel();
  squareValues_ = noSquareValues();
  bestSquare_ = -1;
  if (!hintPaneText_.empty()) panes_.clearIf(kProgressPane, hintPaneText_);
  hintPaneText_ = {};
}

// The values appear square by square, pane 0 counting the moves and the seconds.
void StudySession::startAnalysis() {
  clear();
  panes_.set(kProgressPane, texts::kAnalysing);
  startValuesClock();
  window_.requestRepaint();
  const Board& board = game_.board();
  analysis_.start(
      [job = AnalysisJob{board, game_.side(), routineEvaluator(kSimpleRoutine), routineEvaluator(kPatternRoutine)}](
          std::stop_token stop, ValuesWorker::Exchange& exchange) { return analyse(job, stop, exchange); });
}

std::optional<ValuesResult> StudySession::followAnalysis() {
  if (!analysis_.active()) return std::nullopt;
  return followValues(analysis_);
}

void StudySession::showAnalysis(const ValuesResult& result) {
  squareValues_ = result.values;
  showBestMove(true);  // read to the end: discs
  window_.requestRepaint();
}

bool StudySession::stopAnalysis() {
  analysis_.stop();
  const std::optional<ValuesResult> left = analysis_.takeResult();
  analysis_.cancel();
  return left && left->evalFailed;
}

void StudySession::startHint(const SideSettings& settings, const std::vector<BookMove>& bookMoves, bool namesReader) {
  clear();
  hintReader_ = namesReader ? texts::hintReaderText(settings.routine) : texts::Wording();
  if (!bookMoves.empty()) {
    showBookHint(bookMoves);
    return;
  }
  const Board& board = game_.board();
  const int depth = moveValuesDepth(board, settings);
  hintSource_ = texts::valueSource(settings.routine, depth >= boardEmptyCount(board), boardEmptyCount(board) - depth);
  hint_.start([job = HintJob{board, game_.side(), settings}](std::stop_token stop, ValuesWorker::Exchange& exchange) {
    return hint(job, stop, exchange);
  });
  startValuesClock();
  hintPaneText_ = texts::kHint;
  panes_.set(kProgressPane, hintPaneText_);
  window_.requestRepaint();
}

// Every move has its value in the book: no search, the best one marked at once.
void StudySession::showBookHint(const std::vector<BookMove>& moves) {
  for (const BookMove& move : moves) squareValues_[move.square] = bookValueToScore(move.value);
  bestSquare_ = moves.front().square;
  hintPaneText_ = texts::bookHintText(bestSquare_, squareValues_[bestSquare_]);
  panes_.set(kProgressPane, hintPaneText_);
  window_.requestRepaint();
}

// The hint's values appear as the worker finds them; once it is done the
// best one is marked and named in pane 0.
void StudySession::tickHint() {
  if (!hint_.active()) return;
  const std::optional<ValuesResult> result = followValues(hint_);
  if (!result) return;
  squareValues_ = result->values;
  showBestMove(hintSource_);
  if (bestSquare_ >= 0 && !hintReader_.empty()) {
    hintPaneText_ += hintReader_;
    panes_.set(kProgressPane, hintPaneText_);
  }
  window_.requestRepaint();
  if (result->evalFailed) window_.showMessage(texts::kEvalError);
}

void StudySession::startValuesClock() {
  valuesStart_ = std::chrono::steady_clock::now();
  movesToValue_ = boardMobility(game_.board(), game_.side());
  valuesDone_ = 0;
  secondShown_ = 0;
  doneShown_ = 0;
}

// The values of a running analysis or hint appear on the board as they
// come, and pane 0 counts the moves and the seconds; its result once it
// has returned.
std::optional<ValuesResult> StudySession::followValues(ValuesWorker& worker) {
  const std::optional<ValuesProgress> progress = worker.takeProgress();
  // Of two reports from the analysis's two threads the later may carry fewer moves.
  if (progress && progress->done >= valuesDone_) {
    valuesDone_ = progress->done;
    if (progress->values != squareValues_) {
      squareValues_ = progress->values;
      window_.requestRepaint();
    }
  }
  std::optional<ValuesResult> result = worker.takeResult();
  if (!result) showValuesClock(valuesDone_);
  return result;
}

// The best square is marked on the board and named in pane 0, until the
// values go.
void StudySession::showBestMove(texts::ValueSource source) {
  bestSquare_ = bestValuedSquare(squareValues_);
  if (bestSquare_ < 0) return;
  hintPaneText_ = texts::hintText(bestSquare_, squareValues_[bestSquare_], source);
  panes_.set(kProgressPane, hintPaneText_);
}

// The workers say how far they are only when a move is valued, which deep
// positions take minutes over; the window keeps the seconds counting between.
void StudySession::showValuesClock(int done) {
  const auto elapsed = std::chrono::steady_clock::now() - valuesStart_;
  const std::int64_t seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
  if ((seconds <= secondShown_ && done == doneShown_) || movesToValue_ == 0) return;
  secondShown_ = seconds;
  doneShown_ = done;
  const texts::Wording text = texts::analysisProgressText(done * 100.0 / movesToValue_, seconds);
  if (hint_.active()) hintPaneText_ = text;
  panes_.set(kProgressPane, text);
}

}  // namespace kaimo
