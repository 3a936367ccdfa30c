// The file dialogs of the two game record commands and of the board picture.
#pragma once

#include <QString>

#include "app/controller/controller_window.h"

class QWidget;

namespace kaimo {

// Added to a name typed without one.
inline constexpr const char* kRecordDefaultSuffix = "txt";
inline constexpr const char* kPictureDefaultSuffix = "png";

// The platform's open or save dialog, modal on `parent`, in `language`,
// with no name preset; saving over an existing file is confirmed first. The
// chosen path, or an empty string when cancelled.
QString chooseRecordPath(QWidget* parent, RecordFileUse use, Language language);

}  // namespace kaimo
