// The subcommands of kaimo-cli. Each takes the words after its name and
// writes its results to `out`; wrong arguments throw UsageError.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/board/board.h"
#include "tools/common/cli_args.h"
#include "tools/common/subcommands.h"

namespace kaimo::cli {

using tools::Args;
using tools::CommandSyntax;
using tools::parseInt;
using tools::UsageError;
using tools::Words;

inline constexpr const char* kProgram = "kaimo-cli";

// Each subcommand's operands and declared options, from which its parsing,
// its usage line and `kaimo-cli help NAME` come. A subcommand with two forms
// has a declaration for each.
const CommandSyntax& perftSyntax();
const CommandSyntax& evalSyntax();
const CommandSyntax& recordShowSyntax();
const CommandSyntax& searchSyntax();
const CommandSyntax& analyzeSyntax();
const CommandSyntax& reviewSyntax();
const CommandSyntax& benchSyntax();
const CommandSyntax& matchSyntax();
const CommandSyntax& bookShowSyntax();
const CommandSyntax& bookCheckSyntax();

// Every subcommand with its declaration: what main runs and `help` prints.
extern const tools::Program kCliProgram;

int runPerft(const Words& words, std::FILE* out);
// Each routine's static evaluation; 1 when one of them fails (its line says
// "error").
int runEval(const Words& words, std::FILE* out);
// Prints every history entry of a game record; 1 on a format error, 2 when
// the file cannot be opened.
int runRecord(const Words& words, std::FILE* out);
// A computer turn's search; one line with the move, value, depth, leaves,
// time and rate.
int runSearch(const Words& words, std::FILE* out);
// The exact result of every legal move; 2 with 40 or more empty squares, 1
// without a legal move, 128 + the signal's number when a signal stopped it.
int runAnalyze(const Words& words, std::FILE* out);
// Every move of a game record against the best move, with the summary of
// each side's costliest moves; 1 when the record breaks off (what was read
// is reviewed), 2 when it cannot be opened.
int runReview(const Words& words, std::FILE* out);
// The fixed search suite; its total leaf count is the engine's signature.
int runBench(const Words& words, std::FILE* out);
// Games between two computer players from seeded openings, both colours;
// one line per game, then the score of the first player.
int runMatch(const Words& words, std::FILE* out);
// The opening book's moves for a position (1 when it has none there), or
// its values against deeper reads.
int runBook(const Words& words, std::FILE* out);

// Lines of play `depth` plies deep; a pass uses up a ply and a finished game
// is one leaf.
std::uint64_t perft(const Board& board, int side, int depth);

}  // namespace kaimo::cli
