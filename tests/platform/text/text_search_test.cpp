#include "platform/text/text_search.h"

#include <gtest/gtest.h>

#include <random>

namespace tarnwell {
namespace {

TEST(TextSearch, FindsWhatFindTextFindsOnCharacterBoundariesOnly) {
  // "\x81\x41" is 丄 (trail byte "A"), "\x81\x61" is 乤 (trail byte "a").
  const Text text = "x\x81\x61y\\Photo.JPG\\\x81\x41\x81";
  const TextSearch caseless(text, true);
  const TextSearch exact(text, false);
  EXPECT_EQ(caseless.Find("photo.jpg"), 6);
  EXPECT_EQ(exact.Find("photo.jpg"), -1);
  EXPECT_EQ(exact.Find("Photo"), 6);
  EXPECT_EQ(caseless.Find("\x81\x61"), 2);
  EXPECT_EQ(caseless.Find("\x81\x41"), 16);  // the trail byte is compared as it is
  EXPECT_EQ(caseless.Find("ay"), -1);        // "a" here is a trail byte
  EXPECT_EQ(caseless.Find("\x81"), 2);
  EXPECT_EQ(caseless.Find("\x41\x81"), -1);  // starts on a trail byte
  EXPECT_EQ(caseless.Find("\x81\x41\x81"), 16);
  EXPECT_EQ(caseless.Find(""), 1);
  EXPECT_EQ(TextSearch("", true).Find(""), -1);
  EXPECT_EQ(TextSearch("", true).Find("a"), -1);
}

// Random texts made of the bytes that matter: letters of both cases, "\",
// ".", and lead bytes followed by trail bytes that look like those, or by
// digits, which make four-byte characters.
TEST(TextSearch, AgreesWithFindTextOnRandomTexts) {
  const std::string alphabet = "aAbB\\.\x81\x95\xD5\xFF" "05";
  std::mt19937 generator(20261208);
  auto randomText = [&](int most) {
    std::uniform_int_distribution<int> length(0, most);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    Text t;
    for (int n = length(generator); n > 0; --n) t.push_back(alphabet[pick(generator)]);
    return t;
  };
  for (int round = 0; round < 2000; ++round) {
    const Text text = randomText(40);
    for (bool ignoreCase : {true, false}) {
      const TextSearch search(text, ignoreCase);
      for (int probe = 0; probe < 10; ++probe) {
        const Text sought = randomText(4);
        ASSERT_EQ(search.Find(sought), FindText(text, sought, ignoreCase))
            << "text \"" << text << "\" sought \"" << sought << "\" ignoring case " << ignoreCase;
      }
    }
  }
}

}  // namespace
}  // namespace tarnwell
