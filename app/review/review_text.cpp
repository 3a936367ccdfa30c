#include "app/review/review_text.h"

#include "engine/board/notation.h"
#include "engine/eval/score.h"

namespace kaimo::texts {
namespace {

constexpr Pattern kWorstMoves{"悪手 %s:", "Worst moves of %s:"};
constexpr Text kNone{" なし", " none"};
constexpr Pattern kWorstMove{" %s -%d石", " %s -%d discs"};  // the move's words ("81.j2"), its loss
constexpr Pattern kReviewProgress{"検討中 %zu/%zu手", "Reviewing %zu/%zu moves"};
constexpr Text kColourNames[] = {{"黒", "Black"}, {"白", "White"}};

double discs(int value) { return value / static_cast<double>(SCORE_PER_DISC); }

std::string worstMovesLine(int colour, const std::vector<MoveReview>& worst, Language language, const MoveMark& mark) {
  std::string text = format(kWorstMoves, language, kColourNames[colour == kBlack ? 0 : 1].in(language));
  if (worst.empty()) return text + kNone.in(language);
  for (const MoveReview& move : worst) {
    const std::string words = std::to_string(move.entry + 1) + "." + squareDisplayName(move.square);
    text += format(kWorstMove, language, (mark ? mark(move, words) : words).c_str(), roundedDiscs(move.loss()));
  }
  return text;
}

}  // namespace

std::vector<std::string> reviewSummaryLines(const GameReview& review, const History& history, Language language,
                                            const MoveMark& mark) {
  const std::vector<MoveReview> moves = review.moves(history);
  std::vector<std::string> lines;
  for (int colour : {kBlack, kWhite}) lines.push_back(worstMovesLine(colour, largestLosses(moves, colour), language, mark));
  if (review.missedFoxData()) lines.push_back(kReviewWithoutFox.in(language));
  return lines;
}

Wording reviewSummaryText(const GameReview& review, const History& history, const MoveMark& mark) {
  return inBoth([&](Language language) {
    std::string text;
    for (const std::string& line : reviewSummaryLines(review, history, language, mark)) {
      text += (text.empty() ? "" : "\n") + line;
    }
    return text;
  });
}

Wording reviewProgressText(std::size_t read, std::size_t total) { return formatBoth(kReviewProgress, read, total); }

std::string reviewLine(const MoveReview& move) {
  const std::string head = format("%d %s", move.entry + 1, squareDisplayName(move.square).c_str());
  if (!move.known()) return head + " - - - -";
  return head + format(" %+.2f %s %+.2f %.2f", discs(move.played), squareDisplayName(move.bestMove).c_str(),
                       discs(move.best), discs(move.loss()));
}

}  // namespace kaimo::texts
