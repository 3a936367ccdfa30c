// Qt's own texts (file dialogs, the standard buttons, the question before a
// file is replaced) in the window's language.
#pragma once

#include "app/texts/language.h"

namespace kaimo {

// Japanese: Qt's Japanese catalogue from Qt's translations folder, and
// Japanese as the default locale; false (and Qt's English texts) when the
// catalogue is not installed. English: Qt's own texts and an English
// locale. Needs the application object.
bool useQtLanguage(Language language);

}  // namespace kaimo
