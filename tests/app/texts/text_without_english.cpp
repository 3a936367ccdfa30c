// Must not compile: the catalogue refuses a text without its English.
#include "app/texts/text.h"

constexpr kaimo::texts::Text kUntranslated{"盤面", ""};
