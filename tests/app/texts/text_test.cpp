// What the catalogue checks when it is compiled, and the texts it makes.
#include "app/texts/text.h"

#include <gtest/gtest.h>

namespace kaimo::texts {
namespace {

using compile_check::sameConversions;

static_assert(sameConversions("黒%d石", "Black %d discs"));
static_assert(sameConversions("%6.2lf%%完了 %ld sec", "%6.2lf%% done %ld sec"));
static_assert(!sameConversions("%d手", "%s moves"));
static_assert(!sameConversions("%d/%d手", "%d moves"));
static_assert(!sameConversions("%ld", "%d"));

TEST(Text, JapaneseIsFoundInEveryScriptTheWindowUses) {
  const std::pair<const char*, char32_t> cases[] = {
      {"Black passes.", 0},   {"ひらがな", U'ひ'},   {"Mixed カナ", U'カ'},
      {"ﾌｧｲﾙ(&F)", U'ﾌ'},     {"石", U'石'},         {"（", U'（'},
      {"a　b", U'\u3000'},    {"◀ ▶ ■ …", 0},       {"é ü σ", 0},
  };
  for (const auto& [text, first] : cases) EXPECT_EQ(firstJapaneseCharacter(text), first) << text;
}

TEST(Text, AWordingIsMadeInBothLanguages) {
  constexpr Pattern kCount{"黒%d石", "Black %d discs"};
  const Wording made = formatBoth(kCount, 12);
  EXPECT_EQ(made.in(Language::Japanese), "黒12石");
  EXPECT_EQ(made.in(Language::English), "Black 12 discs");
  constexpr Text kHint{"ヒント", "Hint"};
  EXPECT_EQ(Wording(kHint) + Wording::same(" f5"), Wording("ヒント f5", "Hint f5"));
  EXPECT_TRUE(Wording().empty());
  // Longer than the first buffer.
  EXPECT_EQ(format("%s", std::string(600, 'x').c_str()).size(), 600u);
}

}  // namespace
}  // namespace kaimo::texts
