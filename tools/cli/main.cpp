// kaimo-cli: the engine from the command line.
#include "engine/board/processor_check.h"
#include "support/kr/kr_error.h"
#include "tools/cli/commands.h"

int main(int argc, char** argv) {
  kaimo::requireBuildProcessor();
  // The logs go where the settings file goes: see support/paths.
  kr_useProgramLogFolder();
  return kaimo::tools::runProgram(kaimo::cli::kCliProgram, argc, argv);
}
