// Qt's own texts (file dialogs, the standard buttons, the question before a
// file is replaced) in Japanese like the rest of the window, whatever the
// system's language.
#pragma once

class QCoreApplication;

namespace kaimo {

// Loads Qt's Japanese catalogue from Qt's translations folder and makes
// Japanese the default locale; false (and Qt's English texts) when the
// catalogue is not installed.
bool installQtJapanese(QCoreApplication& application);

}  // namespace kaimo
