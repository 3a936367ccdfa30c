// The window's own texts, beside those of its commands (the command table)
// and of the controller (app/controller/game_texts.h): its part of the
// catalogue (app/texts/text.h).
#pragma once

#include "app/texts/text.h"

namespace kaimo::texts {

// The file dialogs.
inline constexpr Text kOpenRecordTitle{"棋譜を開く", "Open Record"};
inline constexpr Text kSaveRecordTitle{"棋譜を保存", "Save Record"};
inline constexpr Text kSavePictureTitle{"盤面を画像で保存", "Save Board as Picture"};
// Text files first, then everything.
inline constexpr Text kRecordFileFilter{"テキストファイル(*.txt);;全てのファイル(*.*)",
                                        "Text files (*.txt);;All files (*.*)"};
inline constexpr Text kPictureFileFilter{"PNG画像(*.png)", "PNG pictures (*.png)"};
// The file and the system's reason follow.
inline constexpr Pattern kPictureNotSaved{"画像を保存できませんでした。\n%s: %s", "The picture could not be saved.\n%s: %s"};

// The board view's panel: a colour's discs, the count in two places.
inline constexpr Pattern kPanelDiscCount{"%2d石", "%2d discs"};

// The main window.
// What has been typed of a square, in the status bar.
inline constexpr Pattern kTypedSquare{"キー入力 %s", "Typed %s"};
inline constexpr Text kToolBarTitle{"ツールバー", "Toolbar"};
inline constexpr Text kUntitled{"無題", "Untitled"};
// Between the program's name and a word on the data of "狐" in the status bar.
inline constexpr Text kIdleSeparator{"　", " - "};

}  // namespace kaimo::texts
