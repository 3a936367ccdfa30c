#include <cinttypes>

#include "engine/board/notation.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "tools/cli/bench_suite.h"
#include "tools/cli/commands.h"
#include "tools/common/computer_turn.h"
#include "tools/common/input_text.h"
#include "tools/common/limits.h"

namespace kaimo::cli {
namespace {

// The normal depth of the midgame positions: deep enough for the table and
// the shallower passes before the read to matter.
constexpr int kBenchMidgameDepth = 8;

struct Tally {
  std::int64_t leaves = 0;
  std::int64_t nodes = 0;
  std::int64_t msec = 0;

  void add(const tools::TurnResult& result) {
    leaves += result.leaves;
    nodes += result.nodes;
    msec += result.cpuMsec;
  }
};

}  // namespace

SideSettings benchSettings(const BenchPosition& position) {
  SideSettings settings{};
  settings.routine = kSimpleRoutine;
  settings.normalDepth = kBenchMidgameDepth;
  // A read to the end for an exact position, whatever its empty squares.
  settings.exactDepth = position.kind == BenchKind::Exact ? kSquareCount : 0;
  return settings;
}

namespace {

void printTotal(std::FILE* out, const char* name, const Tally& tally) {
  const std::int64_t msec = tally.msec > 0 ? tally.msec : 1;
  std::fprintf(out, "%-8s leaves %12" PRId64 " msec %7" PRId64 " leaves/s %10" PRId64 " nodes/s %10" PRId64 "\n", name,
               tally.leaves, tally.msec, tally.leaves * 1000 / msec, tally.nodes * 1000 / msec);
}

}  // namespace

const CommandSyntax& benchSyntax() {
  static const CommandSyntax syntax{
      kProgram,
      "bench",
      "",
      {tools::textOption("--suite", "FILE", nullptr, "a suite of positions instead of the built-in one"),
       tools::integerOption("--make-suite", "SEED", 0, 0, 1 << 30, "prints a random suite made from SEED instead")}};
  return syntax;
}

int runBench(const Words& words, std::FILE* out) {
  const Args args = Args::parse(benchSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  if (args.has("--make-suite")) {
    std::fputs(makeBenchSuite(static_cast<unsigned>(args.getInt("--make-suite"))).c_str(), out);
    return 0;
  }
  const bool ownSuite = args.has("--suite");
  const std::string suite = args.get("--suite");
  const auto positions = ownSuite ? parseBenchSuite(tools::readInputText(suite, tools::kMaxSuiteBytes, "suite"), suite)
                                  : parseBenchSuite(builtInBenchSuite(), "the built-in suite");
  Tally midgame, exact;
  tools::TurnSearcher searcher;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const BenchPosition& position = positions[i];
    const tools::TurnResult result = searcher.play(position.board, position.side, benchSettings(position));
    if (isMarker(result.value)) {
      tools::printEvalError();
      return 1;
    }
    const bool isExact = position.kind == BenchKind::Exact;
    (isExact ? exact : midgame).add(result);
    std::fprintf(out, "%2zu %-7s %s depth %2d move %-4s value ", i + 1, isExact ? "exact" : "midgame",
                 position.side == kBlack ? "x" : "o", result.depth, squareName(result.move).c_str());
    if (result.value == SCORE_NO_MOVE) {
      std::fprintf(out, "  none");
    } else {
      std::fprintf(out, "%+7.2lf", result.value / 1000.0);
    }
    std::fprintf(out, " leaves %11" PRId64 " nodes %11" PRId64 " msec %6" PRId64 "\n", result.leaves, result.nodes,
                 result.cpuMsec);
    std::fflush(out);
  }
  Tally total;
  total.leaves = midgame.leaves + exact.leaves;
  total.nodes = midgame.nodes + exact.nodes;
  total.msec = midgame.msec + exact.msec;
  printTotal(out, "midgame", midgame);
  printTotal(out, "exact", exact);
  printTotal(out, "total", total);
  return 0;
}

}  // namespace kaimo::cli
