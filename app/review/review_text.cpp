#include "app/review/review_text.h"

#include <cstdio>

#include "engine/board/notation.h"
#include "engine/eval/score.h"

namespace kaimo::texts {
namespace {

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, pattern, args...);
  return buffer;
}

double discs(int value) { return value / static_cast<double>(SCORE_PER_DISC); }

std::string worstMovesLine(int colour, const std::vector<MoveReview>& worst) {
  std::string text = format("悪手 %s:", colour == kBlack ? "黒" : "白");
  if (worst.empty()) return text + " なし";
  for (const MoveReview& move : worst) {
    text += format(" %d.%s -%d石", move.entry + 1, squareDisplayName(move.square).c_str(), roundedDiscs(move.loss()));
  }
  return text;
}

}  // namespace

std::vector<std::string> reviewSummaryLines(const GameReview& review, const History& history) {
  const std::vector<MoveReview> moves = review.moves(history);
  std::vector<std::string> lines;
  for (int colour : {kBlack, kWhite}) lines.push_back(worstMovesLine(colour, largestLosses(moves, colour)));
  if (review.missedFoxData()) lines.push_back(kReviewWithoutFox);
  return lines;
}

std::string reviewSummaryText(const GameReview& review, const History& history) {
  std::string text;
  for (const std::string& line : reviewSummaryLines(review, history)) text += (text.empty() ? "" : "\n") + line;
  return text;
}

std::string reviewProgressText(std::size_t read, std::size_t total) { return format("検討中 %zu/%zu手", read, total); }

std::string reviewLine(const MoveReview& move) {
  const std::string head = format("%d %s", move.entry + 1, squareDisplayName(move.square).c_str());
  if (!move.known()) return head + " - - - -";
  return head + format(" %+.2f %s %+.2f %.2f", discs(move.played), squareDisplayName(move.bestMove).c_str(),
                       discs(move.best), discs(move.loss()));
}

}  // namespace kaimo::texts
