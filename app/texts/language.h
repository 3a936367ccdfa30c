// The two languages of the window, and the one it starts in when the user
// has not chosen: the system's, from the locale variables.
#pragma once

#include <optional>
#include <string_view>

namespace kaimo {

enum class Language { Japanese, English };

inline constexpr Language kLanguages[] = {Language::Japanese, Language::English};

namespace texts {

// Each language's name in itself, as the language menu shows it whatever
// the window's language, so that a user can find their own.
constexpr const char* languageName(Language language) {
  return language == Language::English ? "English" : "日本語";
}

// The language of a locale name: Japanese for "ja…", for "C" and "POSIX"
// (also "C.UTF-8") and for none at all; English for every other.
Language languageOfLocale(std::string_view locale);
// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty
// decides, as it does for the C library's messages.
Language languageOfEnvironment(const char* lcAll, const char* lcMessages, const char* lang);
// The same, from this process's environment.
Language systemLanguage();

// How the window's preferences keep a choice: "ja" or "en".
const char* languageCode(Language language);
std::optional<Language> languageOfCode(std::string_view code);

}  // namespace texts
}  // namespace kaimo
