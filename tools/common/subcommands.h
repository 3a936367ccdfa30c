// The main() of a command-line program made of named subcommands: usage and
// help from the subcommands' declared options, dispatch, and wrong arguments
// turned into one line on stderr and status 2.
#pragma once

#include <cstdio>
#include <span>

#include "tools/common/cli_args.h"

namespace kaimo::tools {

// One form of a subcommand. A subcommand of several forms ("book show",
// "book check") has a row for each, with the same name and `run`.
struct Subcommand {
  const char* name;
  int (*run)(const Words& words, std::FILE* out);
  const CommandSyntax& (*syntax)();
};

struct Program {
  const char* name;  // "kaimo-cli"
  std::span<const Subcommand> subcommands;
  const char* footer;  // a last usage line, or null
};

// `PROGRAM help` lists every form's synopsis; `PROGRAM help SUBCOMMAND`
// prints its options with their help, defaults and ranges.
int runProgram(const Program& program, int argc, char** argv);

}  // namespace kaimo::tools
