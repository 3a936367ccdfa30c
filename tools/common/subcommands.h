// The main() of a command-line program made of named subcommands: usage,
// dispatch, and wrong arguments turned into one line on stderr and status 2.
#pragma once

#include <cstdio>
#include <span>

#include "tools/common/cli_args.h"

namespace kaimo::tools {

struct Subcommand {
  const char* name;
  int (*run)(const Words& words, std::FILE* out);
  const char* usage;
};

struct Program {
  const char* name;                        // "kaimo-cli"
  std::span<const Subcommand> subcommands;
  const char* footer;                      // a last usage line, or null
};

int runProgram(const Program& program, int argc, char** argv);

}  // namespace kaimo::tools
