// The file dialogs of the two game record commands and of the board picture.
#pragma once

#include <QString>

#include "app/controller/controller_window.h"

class QWidget;

namespace kaimo {

// Text files first, then everything.
inline constexpr const char* kRecordFileFilter = "テキストファイル(*.txt);;全てのファイル(*.*)";
// Added to a name typed without one.
inline constexpr const char* kRecordDefaultSuffix = "txt";
inline constexpr const char* kPictureFileFilter = "PNG画像(*.png)";
inline constexpr const char* kPictureDefaultSuffix = "png";

// The platform's open or save dialog, modal on `parent`, with no name
// preset; saving over an existing file is confirmed first. The chosen path,
// or an empty string when cancelled.
QString chooseRecordPath(QWidget* parent, RecordFileUse use);

}  // namespace kaimo
