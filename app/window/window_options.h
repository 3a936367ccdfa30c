// The window's own choices on the 表示 and 研究 menus, kept in Qt's
// settings profile of the program (like the recent files), so they survive
// a restart. The players' settings file is not touched.
#pragma once

#include <QByteArray>

#include <optional>

#include "app/settings/time_settings.h"
#include "app/texts/language.h"

namespace kaimo::options {

inline constexpr const char* kStudyColumn = "ShowStudyColumn";              // default on
inline constexpr const char* kModelessPassNotices = "ModelessPassNotices";  // default off
inline constexpr const char* kReview = "ReviewGame";                        // default on
inline constexpr const char* kUseBook = "UseOpeningBook";         // default on: the computer plays from the book
inline constexpr const char* kAnimateMoves = "AnimateMoves";      // default on
inline constexpr const char* kPlaySounds = "PlaySounds";          // default on
inline constexpr const char* kLanguage = "Language";              // "ja" or "en"; none: the system's language
inline constexpr const char* kShowLegalMoves = "ShowLegalMoves";  // default on: a human's legal squares marked
inline constexpr const char* kLoseOnTime = "LoseOnTime";          // default on: a human out of time loses
inline constexpr const char* kWindowGeometry = "WindowGeometry";  // QWidget::saveGeometry of the main window

bool load(const char* key, bool fallback);
void store(const char* key, bool value);

// The language the user chose, if they did.
std::optional<Language> loadLanguage();
void storeLanguage(Language language);

// Each side's time and the switch that makes a human lose on time. Values
// out of the dialog's ranges (a profile edited by hand) are brought into them.
TimeSettings loadTimes();
void storeTimes(const TimeSettings& times);

// The main window's size, place and state when it last closed; empty when
// never kept (QWidget::restoreGeometry refuses empty or damaged data).
QByteArray loadWindowGeometry();
void storeWindowGeometry(const QByteArray& geometry);

}  // namespace kaimo::options
