// kaimo-train sums: the checksum list of a folder of data of "狐"
// (engine/eval/data_sums.h), for data put together by hand; `fit` writes it
// itself, and the build writes it for the shipped data.
#include <cstring>
#include <filesystem>

#include "engine/eval/data_sums.h"
#include "tools/common/cli_args.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_options.h"

namespace kaimo::train {

const tools::CommandSyntax& sumsSyntax() {
  static const tools::CommandSyntax syntax{kProgram, "sums", "", {dirOption("the folder of the data to list")}};
  return syntax;
}

int runSums(const tools::Words& words, std::FILE* out) {
  const tools::Args args = tools::Args::parse(sumsSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  const std::filesystem::path dir = args.getPath("--dir");
  std::string file;
  if (const int error = writeDataSums(dir, file); error != 0) {
    std::fprintf(stderr, "kaimo-train sums: cannot write %s: %s\n", file.c_str(), std::strerror(error));
    return 1;
  }
  std::fprintf(out, "wrote %s\n", file.c_str());
  return 0;
}

}  // namespace kaimo::train
