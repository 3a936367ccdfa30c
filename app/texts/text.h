// The catalogue's entries. Every text the window shows is a Text: its
// Japanese and its English side by side, declared once. The constructor
// runs when the program is compiled, so a text without its English, or
// with Japanese left in its English, does not build. A Pattern is a Text
// with printf conversions, which must be the same in both languages.
//
// What the controller hands the window is a Wording: a text made in both
// languages, so the window can show either, and show the other at once
// when the user switches.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "app/texts/japanese.h"
#include "app/texts/language.h"

namespace kaimo::texts {

namespace compile_check {
// Not constexpr: a Text that calls one of these fails to compile, naming
// the fault.
inline void englishTextMissing() {}
inline void japaneseTextMissing() {}
inline void japaneseLeftInEnglishText() {}
inline void patternConversionsDiffer() {}

// The n-th conversion of a printf pattern, as its length modifier and
// letter ("ld", "s", "lf"); empty past the last.
constexpr std::string_view nthConversion(std::string_view pattern, int n) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < pattern.size() && std::string_view("-+ #0123456789.*").find(pattern[j]) != std::string_view::npos) ++j;
    const std::size_t start = j;
    while (j < pattern.size() && std::string_view("hlLqjzt").find(pattern[j]) != std::string_view::npos) ++j;
    if (n-- == 0) return pattern.substr(start, j + 1 - start);
    i = j;
  }
  return {};
}

constexpr bool sameConversions(std::string_view a, std::string_view b) {
  for (int n = 0;; ++n) {
    const std::string_view x = nthConversion(a, n);
    if (x != nthConversion(b, n)) return false;
    if (x.empty()) return true;
  }
}
}  // namespace compile_check

struct Text {
  // No text at all, in either language.
  constexpr Text() = default;
  consteval Text(const char* japaneseText, const char* englishText) : japanese(japaneseText), english(englishText) {
    if (*japanese == '\0') compile_check::japaneseTextMissing();
    if (*english == '\0') compile_check::englishTextMissing();
    if (containsJapanese(english)) compile_check::japaneseLeftInEnglishText();
  }
  // A name that stays as it is in both languages: a language's name in
  // itself, which the language menu shows whatever the window's language.
  static consteval Text name(const char* both) {
    Text text;
    text.japanese = text.english = both;
    return text;
  }
  const char* in(Language language) const { return language == Language::English ? english : japanese; }
  bool empty() const { return *japanese == '\0'; }

  const char* japanese = "";
  const char* english = "";
};

// A Text with printf conversions, taking the same arguments in both languages.
struct Pattern : Text {
  consteval Pattern(const char* japaneseText, const char* englishText) : Text(japaneseText, englishText) {
    if (!compile_check::sameConversions(japanese, english)) compile_check::patternConversionsDiffer();
  }
};

// `pattern` filled in with `args`.
template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char buffer[256];
  const int length = std::snprintf(buffer, sizeof buffer, pattern, args...);
  if (length < 0) return {};
  if (static_cast<std::size_t>(length) < sizeof buffer) return buffer;
  std::string text(static_cast<std::size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, pattern, args...);
  return text;
}

template <typename... Args>
std::string format(const Pattern& pattern, Language language, Args... args) {
  return format(pattern.in(language), args...);
}

// A text made in both languages.
struct Wording {
  Wording() = default;
  Wording(const Text& text) : japanese(text.japanese), english(text.english) {}  // NOLINT: a Text is a Wording
  Wording(std::string japaneseText, std::string englishText)
      : japanese(std::move(japaneseText)), english(std::move(englishText)) {}
  // Words that are the same in both languages: a number, a square, a rate.
  static Wording same(const std::string& text) { return {text, text}; }

  const std::string& in(Language language) const { return language == Language::English ? english : japanese; }
  bool empty() const { return japanese.empty() && english.empty(); }
  Wording& operator+=(const Wording& more) {
    japanese += more.japanese;
    english += more.english;
    return *this;
  }
  friend Wording operator+(Wording a, const Wording& b) { return a += b; }
  bool operator==(const Wording&) const = default;

  std::string japanese;
  std::string english;
};

// `render(language)` for each language.
template <typename Render>
Wording inBoth(Render render) {
  return {render(Language::Japanese), render(Language::English)};
}

// `pattern` filled in with the same `args` in both languages.
template <typename... Args>
Wording formatBoth(const Pattern& pattern, Args... args) {
  return {format(pattern.japanese, args...), format(pattern.english, args...)};
}

}  // namespace kaimo::texts
