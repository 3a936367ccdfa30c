#include <cstdio>

#include <unistd.h>

#include "app/review/review_batch.h"
#include "app/review/review_text.h"
#include "tools/cli/commands.h"
#include "tools/cli/record_file.h"
#include "tools/common/limits.h"

namespace kaimo::cli {
namespace {

// The positions are shared out to this many threads.
constexpr int kReviewThreads = 2;

// Prints the lines of the moves read so far in game order, each once: a
// call looks only at the moves not printed yet, so following a whole game
// costs time linear in its length.
class MoveLines {
 public:
  MoveLines(const History& history, std::FILE* out, bool showProgress)
      : history_(history), out_(out), showProgress_(showProgress) {}

  void follow(const GameReview& review) {
    const std::size_t total = history_.empty() ? 0 : history_.size() - 1;
    if (showProgress_) std::fprintf(stderr, "\r\033[K");
    for (; printed_ < total; ++printed_) {
      const MoveReview move = review.move(history_, printed_);
      if (move.outcome == ReadOutcome::Stopped) break;
      std::fprintf(out_, "%s\n", texts::reviewLine(move).c_str());
    }
    std::fflush(out_);
    if (showProgress_ && printed_ < total) {
      std::fprintf(stderr, "review: %zu/%zu moves", review.readCount(history_), total);
      std::fflush(stderr);
    }
  }

 private:
  const History& history_;
  std::FILE* out_;
  bool showProgress_;
  std::size_t printed_ = 0;
};

}  // namespace

const CommandSyntax& reviewSyntax() {
  using tools::integerOption;
  static const CommandSyntax syntax{
      kProgram,
      "review",
      "",
      {tools::required(tools::textOption("--record", "FILE", nullptr, "the game record or move list to review")),
       integerOption("--depth", "N", kDefaultReviewSettings.depth, 1, tools::kMaxNormalDepth,
                     "plies of the midgame reads"),
       integerOption("--exact", "N", kDefaultReviewSettings.exactEmpties, 0, tools::kMaxReadEmpties,
                     "reads to the end from N empty squares on")}};
  return syntax;
}

int runReview(const Words& words, std::FILE* out) {
  const Args args = Args::parse(reviewSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  const ReviewSettings settings{args.getInt("--depth"), args.getInt("--exact")};
  // A record that breaks off is reviewed as far as it was read.
  return withRecordFile(args.get("--record"), out, [&](const History& history) {
    GameReview review(settings);
    review.setEvaluator(foxDataReadable() ? ReviewEvaluator::Fox : ReviewEvaluator::ExactOnly);
    MoveLines lines(history, out, isatty(STDERR_FILENO) != 0);
    readWholeGame(review, history, kReviewThreads, [&lines](const GameReview& r) { lines.follow(r); });
    lines.follow(review);
    for (const std::string& line : texts::reviewSummaryLines(review, history, Language::Japanese)) std::fprintf(out, "%s\n", line.c_str());
  });
}

}  // namespace kaimo::cli
