// Kaimo: the Reversi window.
#include <cstdio>

#include "app/window/kaimo_app.h"
#include "engine/board/processor_check.h"
#include "engine/eval/pattern_eval.h"
#include "support/kr/kr_error.h"
#include "support/paths/program_paths.h"

int main(int argc, char** argv) {
  kaimo::requireBuildProcessor();
  // The logs go where the settings file goes: see support/paths.
  kr_useProgramLogFolder();
  // Qt keeps the recent files under $HOME: the same home as ours.
  kaimo::paths::exportHomeFolder();
  // The data of "狐" are read, and their size is announced, before the
  // window appears.
  kaimo::setPatternAnnouncement(stdout);
  kaimo::defaultPatternData();
  std::fflush(stdout);
  kaimo::CKaimoApp app(argc, argv);
  return app.run();
}
