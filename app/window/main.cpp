// Kaimo: the Reversi window.
#include "app/window/kaimo_app.h"

int main(int argc, char** argv) {
  kaimo::CKaimoApp app(argc, argv);
  return app.run();
}
