// kaimo-train: makes the evaluation data of "狐" (index tables and stage
// weights) from self-play games of the program's own engine.
#include "engine/board/processor_check.h"
#include "support/kr/kr_error.h"
#include "tools/train/train_commands.h"

int main(int argc, char** argv) {
  kaimo::requireBuildProcessor();
  // The logs go where the settings file goes: see support/paths.
  kr_useProgramLogFolder();
  return kaimo::tools::runProgram(kaimo::train::kTrainProgram, argc, argv);
}
