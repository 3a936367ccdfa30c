// The file dialogs of the two game record commands.
#pragma once

#include <QString>

#include "app/controller/controller_window.h"

class QWidget;

namespace kaimo {

// Text files first, then everything.
inline constexpr const char* kRecordFileFilter = "テキストファイル(*.txt);;全てのファイル(*.*)";
// Added to a name typed without one.
inline constexpr const char* kRecordDefaultSuffix = "txt";

// The platform's open or save dialog, modal on `parent`, with no name
// preset; saving over an existing file is confirmed first. The chosen path,
// or an empty string when cancelled.
QString chooseRecordPath(QWidget* parent, RecordFileUse use);

}  // namespace kaimo
