// Kaimo: the Reversi window.
#include "app/window/kaimo_app.h"
#include "support/kr/kr_error.h"
#include "support/paths/program_paths.h"

int main(int argc, char** argv) {
  // The logs go where the settings file goes: see support/paths.
  kr_setLogFolder(kaimo::paths::logFolder().c_str());
  kaimo::CKaimoApp app(argc, argv);
  return app.run();
}
