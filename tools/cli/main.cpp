// kaimo-cli: the engine from the command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/cli/cli_args.h"
#include "tools/cli/commands.h"

namespace {

struct Subcommand {
  const char* name;
  int (*run)(const kaimo::cli::Words& words, std::FILE* out);
  const char* usage;
};

const Subcommand kSubcommands[] = {
    {"perft", kaimo::cli::runPerft, "perft DEPTH [position]"},
    {"eval", kaimo::cli::runEval, "eval [position]"},
    {"record", kaimo::cli::runRecord, "record show FILE"},
    {"search", kaimo::cli::runSearch, "search [position] [--routine NAME|INDEX] [--depth N] [--exact N] [--win N]"},
    {"analyze", kaimo::cli::runAnalyze, "analyze [position]"},
    {"bench", kaimo::cli::runBench, "bench [--suite FILE]"},
    {"match", kaimo::cli::runMatch, "match --black NAME --white NAME [--depth N] [--exact N] [--win N] [--black-depth N ...] [--games N] [--jobs N] [--seed S] [--plies N]"},
};

void printUsage(std::FILE* out) {
  std::fprintf(out, "usage: kaimo-cli SUBCOMMAND [arguments]\n");
  for (const auto& sub : kSubcommands) std::fprintf(out, "  kaimo-cli %s\n", sub.usage);
  std::fprintf(out, "position: --moves d5d4d3c3 | --board FILE|- [--side black|white] | --record FILE\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    printUsage(stderr);
    return 2;
  }
  if (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
    printUsage(stdout);
    return 0;
  }
  for (const auto& sub : kSubcommands) {
    if (std::strcmp(argv[1], sub.name) != 0) continue;
    try {
      return sub.run(kaimo::cli::Words(argv + 2, argv + argc), stdout);
    } catch (const kaimo::cli::UsageError& error) {
      std::fprintf(stderr, "kaimo-cli %s: %s\n", sub.name, error.what());
      return 2;
    }
  }
  std::fprintf(stderr, "kaimo-cli: unknown subcommand '%s' (try kaimo-cli help)\n", argv[1]);
  return 2;
}
