#include <filesystem>

#include "engine/eval/pattern_layout.h"
#include "tools/common/cli_args.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_data.h"
#include "tools/train/train_options.h"

namespace kaimo::train {

const tools::CommandSyntax& tablesSyntax() {
  static const tools::CommandSyntax syntax{
      kProgram, "tables", "", {tools::required(tools::pathOption("--out", "DIR", "the folder the tables go to"))}};
  return syntax;
}

int runTables(const tools::Words& words, std::FILE* out) {
  const tools::Args args = tools::Args::parse(tablesSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  const std::filesystem::path dir = args.getPath("--out");
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  for (const TableFile& file : indexTableFiles()) {
    const std::string name = (dir / file.name).string();
    if (!writeIndexTable(name.c_str(), file.table)) {
      std::fprintf(stderr, "kaimo-train tables: cannot write %s\n", name.c_str());
      return 1;
    }
    std::fprintf(out, "%s: %d classes\n", name.c_str(), file.table.classCount);
  }
  return 0;
}

}  // namespace kaimo::train
