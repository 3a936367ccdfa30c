// Whether a text holds Japanese: kana (full- and half-width), the CJK
// ideographs, and the Japanese punctuation and full-width forms. The
// catalogue refuses an English text with any of them when it is compiled;
// the window's tests look for them in everything the English window shows.
#pragma once

#include <string_view>

namespace kaimo::texts {

constexpr bool isJapaneseCharacter(char32_t c) {
  return (c >= 0x3000 && c <= 0x30FF)     // CJK punctuation, hiragana, katakana
         || (c >= 0x31F0 && c <= 0x31FF)  // katakana phonetic extensions
         || (c >= 0x3400 && c <= 0x4DBF)  // CJK ideographs, extension A
         || (c >= 0x4E00 && c <= 0x9FFF)  // CJK ideographs
         || (c >= 0xF900 && c <= 0xFAFF)  // CJK compatibility ideographs
         || (c >= 0xFF00 && c <= 0xFFEF)  // full-width forms and half-width katakana
         || (c >= 0x20000 && c <= 0x2FFFF);
}

// The first Japanese character of UTF-8 `text`, or U+0000 when there is none.
constexpr char32_t firstJapaneseCharacter(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length && i + k < text.size(); ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    if (isJapaneseCharacter(c)) return c;
    i += static_cast<std::size_t>(length);
  }
  return 0;
}

constexpr bool containsJapanese(std::string_view text) { return firstJapaneseCharacter(text) != 0; }

}  // namespace kaimo::texts
