#include "platform/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

int Sign(int v) {
  return (v > 0) - (v < 0);
}

TEST(Collation, IgnoresCaseButOrdersCaseVariantsByTheirBytes) {
  EXPECT_LT(platform::CompareText("apple", "Banana"), 0);
  EXPECT_GT(platform::CompareText("BANANA", "apple"), 0);
  // Equal but for case: never equal, and always the same way round.
  EXPECT_NE(platform::CompareText("News", "news"), 0);
  EXPECT_EQ(Sign(platform::CompareText("News", "news")),
            -Sign(platform::CompareText("news", "News")));
  EXPECT_EQ(platform::CompareText("same", "same"), 0);
}

TEST(Collation, FolderEntrySortsBeforeItsContentsAndLongerNames) {
  // "." before "\" before letters: R\A.dir0 < R\A\... < R\AB.dir0.
  std::vector<std::string> v = {"R\\AB.dir0", "R\\A\\\x5C\x98\x72\x98\x72x.url1\\http://x",
                                "R\\A.dir0"};
  std::sort(v.begin(), v.end(),
            [](std::string_view a, std::string_view b) { return platform::CompareText(a, b) < 0; });
  EXPECT_EQ(v[0], "R\\A.dir0");
  EXPECT_EQ(v[2], "R\\AB.dir0");
}

TEST(Collation, SecondBytesOfTwoByteCharactersAreNotFolded) {
  // ア (0x83 0x41) and ャ (0x83 0x61) differ only in a second byte that looks like A / a.
  EXPECT_LT(platform::CompareText("\x83\x41", "\x83\x61"), 0);
  EXPECT_NE(platform::SortKey("\x83\x41"), platform::SortKey("\x83\x61"));
  // ...while a single-byte A right after a half-width katakana is folded.
  EXPECT_EQ(platform::SortKey("\xB1"
                              "A"),
            "\xB1"
            "a");
}

TEST(Collation, SameIgnoringAsciiCaseFoldsOnlySingleByteCharacters) {
  // ア (0x83 0x41) and ャ (0x83 0x61) are two characters, not one in two cases.
  EXPECT_FALSE(platform::SameIgnoringAsciiCase("\x83\x41", "\x83\x61"));
  EXPECT_TRUE(platform::SameIgnoringAsciiCase("\x83\x41Link.URL", "\x83\x41link.url"));
  EXPECT_FALSE(platform::SameIgnoringAsciiCase("link.url", "link.url "));
}

TEST(Collation, SortKeyAgreesWithCompareText) {
  std::mt19937 rng(7);
  const std::string alphabet = "aAbB.\\\x83\x41\x61\x5C\xB1";
  for (int round = 0; round < 5000; ++round) {
    std::string a, b;
    int la = rng() % 6, lb = rng() % 6;
    for (int i = 0; i < la; ++i) a += alphabet[rng() % alphabet.size()];
    for (int i = 0; i < lb; ++i) b += alphabet[rng() % alphabet.size()];
    int byKey = Sign(platform::SortKey(a).compare(platform::SortKey(b)));
    if (byKey == 0) byKey = Sign(a.compare(b));
    ASSERT_EQ(byKey, Sign(platform::CompareText(a, b))) << a << " | " << b;
  }
}

}  // namespace
