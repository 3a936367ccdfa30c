// kaimo-train: makes the evaluation data of "狐" (index tables and stage
// weights) from self-play games of the program's own engine.
#include <cstdio>
#include <cstring>

#include "tools/cli/cli_args.h"
#include "tools/train/train_commands.h"

namespace {

struct Step {
  const char* name;
  int (*run)(const kaimo::cli::Words& words, std::FILE* out);
  const char* usage;
};

const Step kSteps[] = {
    {"tables", kaimo::train::runTables, "tables --out DIR"},
    {"games", kaimo::train::runGames, "games --dir DIR --games N [--seed S] [--jobs N] [--routine NAME] [--depth N] [--exact N] ..."},
    {"label", kaimo::train::runLabel, "label --dir DIR [--min E] [--max E] [--per-game N] [--jobs N]"},
    {"fit", kaimo::train::runFit, "fit --dir DIR --out DIR [--stages A-B] [--epochs N] [--l2 X] [--jobs N] [--force 1]"},
    {"accuracy", kaimo::train::runAccuracy, "accuracy --dir DIR --data DIR [--min E] [--max E]"},
};

void printUsage(std::FILE* out) {
  std::fprintf(out, "usage: kaimo-train STEP [arguments]\n");
  for (const auto& step : kSteps) std::fprintf(out, "  kaimo-train %s\n", step.usage);
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
  for (const auto& step : kSteps) {
    if (std::strcmp(argv[1], step.name) != 0) continue;
    try {
      return step.run(kaimo::cli::Words(argv + 2, argv + argc), stdout);
    } catch (const kaimo::cli::UsageError& error) {
      std::fprintf(stderr, "kaimo-train %s: %s\n", step.name, error.what());
      return 2;
    }
  }
  std::fprintf(stderr, "kaimo-train: unknown step '%s' (try kaimo-train help)\n", argv[1]);
  return 2;
}
