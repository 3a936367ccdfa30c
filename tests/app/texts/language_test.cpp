// The language the window starts in when the user has not chosen one.
#include "app/texts/language.h"

#include <gtest/gtest.h>

namespace kaimo::texts {
namespace {

TEST(Language, TheFirstLocaleVariableSetDecides) {
  struct Case {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    Language expected;
  };
  constexpr Language ja = Language::Japanese;
  constexpr Language en = Language::English;
  const Case cases[] = {
      {nullptr, nullptr, "ja_JP.UTF-8", ja},
      {nullptr, nullptr, "ja", ja},
      {nullptr, nullptr, "C", ja},
      {nullptr, nullptr, "C.UTF-8", ja},
      {nullptr, nullptr, "POSIX", ja},
      {nullptr, nullptr, nullptr, ja},  // nothing set
      {"", "", "", ja},                 // set but empty is not set
      {nullptr, nullptr, "en_US.UTF-8", en},
      {nullptr, nullptr, "de_DE.UTF-8", en},
      {nullptr, nullptr, "jv_ID", en},  // Javanese is not Japanese
      {"en_US.UTF-8", nullptr, "ja_JP.UTF-8", en},  // LC_ALL over LANG
      {"ja_JP.UTF-8", "de_DE", "en_US", ja},
      {"", "de_DE.UTF-8", "ja_JP.UTF-8", en},  // LC_MESSAGES over LANG
      {nullptr, "", "en_GB", en},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(languageOfEnvironment(c.lcAll, c.lcMessages, c.lang), c.expected)
        << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
  }
}

TEST(Language, AChoiceIsKeptAsItsCode) {
  for (Language language : kLanguages) EXPECT_EQ(languageOfCode(languageCode(language)), language);
  EXPECT_EQ(languageOfCode("fr"), std::nullopt);
  EXPECT_EQ(languageOfCode(""), std::nullopt);
}

}  // namespace
}  // namespace kaimo::texts
