#include "app/texts/language.h"

#include <cstdlib>

namespace kaimo::texts {

Language languageOfLocale(std::string_view locale) {
  const bool japanese = locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.") ||
                        locale.starts_with("ja");
  return japanese ? Language::Japanese : Language::English;
}

Language languageOfEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value != nullptr && *value != '\0') return languageOfLocale(value);
  }
  return Language::Japanese;
}

Language systemLanguage() {
  return languageOfEnvironment(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

const char* languageCode(Language language) { return language == Language::English ? "en" : "ja"; }

std::optional<Language> languageOfCode(std::string_view code) {
  for (Language language : kLanguages) {
    if (code == languageCode(language)) return language;
  }
  return std::nullopt;
}

}  // namespace kaimo::texts
