// The steps of kaimo-train. Each takes the words after its name, writes its
// results to `out` and its progress to standard error, and throws
// tools::UsageError for wrong arguments.
#pragma once

#include <cstdio>

#include "tools/common/cli_args.h"
#include "tools/common/subcommands.h"

namespace kaimo::train {

// Each step's declared options, from which its parsing, its usage line and
// `kaimo-train help STEP` come.
const tools::CommandSyntax& tablesSyntax();
const tools::CommandSyntax& sumsSyntax();
const tools::CommandSyntax& gamesSyntax();
const tools::CommandSyntax& labelSyntax();
const tools::CommandSyntax& fitSyntax();
const tools::CommandSyntax& probCutSyntax();
const tools::CommandSyntax& bookSyntax();
const tools::CommandSyntax& accuracySyntax();

// Every step with its declaration: what main runs and `help` prints.
extern const tools::Program kTrainProgram;

// Writes the pattern index tables into --out DIR.
int runTables(const tools::Words& words, std::FILE* out);
// Writes the checksum list of the data of "狐" in --dir DIR.
int runSums(const tools::Words& words, std::FILE* out);
// Plays self-play games into --dir DIR, chunk by chunk.
int runGames(const tools::Words& words, std::FILE* out);
// Solves positions of the games exactly.
int runLabel(const tools::Words& words, std::FILE* out);
// Fits the stage weights and checks them through the real evaluator.
int runFit(const tools::Words& words, std::FILE* out);
// Fits the ProbCut regressions of "狐" from searches of positions of the games.
int runProbCut(const tools::Words& words, std::FILE* out);

// Grows the opening book from the initial position, round by round.
int runBook(const tools::Words& words, std::FILE* out);
// Errors of "狐" and of a linear fit of "狸" against exact margins.
int runAccuracy(const tools::Words& words, std::FILE* out);

}  // namespace kaimo::train
