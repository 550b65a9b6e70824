// String operations on single-byte Windows-1252 text, and numbers read from text.
#include "engine/Text.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace qm {
namespace {

TEST(TextTest, DecimalAndCharTexts) {
  struct Case {
    int64_t v;
    const char* text;
  } cases[] = {{0, "0"},
               {-7, "-7"},
               {1234567, "1234567"},
               {int64_t{-2147483648LL}, "-2147483648"},
               {INT64_MIN, "-9223372036854775808"},
               {INT64_MAX, "9223372036854775807"}};
  for (const Case& c : cases) EXPECT_EQ(DecimalText(c.v), c.text);
  EXPECT_EQ(CharText(0), "");
  EXPECT_EQ(CharText(65), "A");
  EXPECT_EQ(CharText(233), "\xE9");
  EXPECT_EQ(FirstCharCode(""), 0);
  EXPECT_EQ(FirstCharCode("\xE9t\xE9"), 233);
  EXPECT_EQ(TextLength("\xE9t\xE9"), 3);
}

TEST(TextTest, LeftRightMidClampTheirLimits) {
  EXPECT_EQ(LeftText("WORD", -1), "");
  EXPECT_EQ(LeftText("WORD", 2), "WO");
  EXPECT_EQ(LeftText("WORD", 99), "WORD");
  EXPECT_EQ(RightText("WORD", -3), "");
  EXPECT_EQ(RightText("WORD", 3), "ORD");
  EXPECT_EQ(RightText("WORD", 9), "WORD");
  struct Case {
    int64_t start, length;
    const char* out;
  } cases[] = {{2, 10, "ORD"},     {9, 1, ""},  {1, 2, "WO"}, {0, 2, "WO"},
               {-5, 3, "WOR"},     {2, -1, ""}, {3, 1, "R"},  {INT64_MIN, INT64_MAX, "WORD"},
               {INT64_MAX, 1, ""}, {5, 1, ""}};
  for (const Case& c : cases) EXPECT_EQ(MidText("WORD", c.start, c.length), c.out) << c.start;
}

TEST(TextTest, TrimRemovesSpacesOnly) {
  EXPECT_EQ(TrimLeftText("  \ta b  "), "\ta b  ");
  EXPECT_EQ(TrimRightText("  a b \t  "), "  a b \t");
  EXPECT_EQ(TrimLeftText("    "), "");
  EXPECT_EQ(TrimRightText(""), "");
}

TEST(TextTest, CaseMappingCoversWindows1252Letters) {
  EXPECT_EQ(LowerCaseText("ABC xyz 09!"), "abc xyz 09!");
  EXPECT_EQ(UpperCaseText("abc XYZ 09!"), "ABC XYZ 09!");
  // E acute, A grave, O diaeresis, S caron, OE, Z caron, Y diaeresis, thorn.
  EXPECT_EQ(LowerCaseText("\xC9\xC0\xD6\x8A\x8C\x8E\x9F\xDE"), "\xE9\xE0\xF6\x9A\x9C\x9E\xFF\xFE");
  EXPECT_EQ(UpperCaseText("\xE9\xE0\xF6\x9A\x9C\x9E\xFF\xFE"), "\xC9\xC0\xD6\x8A\x8C\x8E\x9F\xDE");
  // Multiplication and division signs, sharp s and micro stay as they are.
  EXPECT_EQ(LowerCaseText("\xD7\xDF\xB5"), "\xD7\xDF\xB5");
  EXPECT_EQ(UpperCaseText("\xF7\xDF\xB5"), "\xF7\xDF\xB5");
}

TEST(TextTest, ReplaceNeverOverlapsOrRescans) {
  EXPECT_EQ(ReplaceText("aaaa", "aa", "a"), "aa");
  EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceText("abc", "z", "x"), "abc");
  EXPECT_EQ(ReplaceText("a.b.c", ".", ".."), "a..b..c");
  EXPECT_EQ(ReplaceText("Abab", "ab", ""), "Ab");
}

TEST(TextTest, TextToNumberReadsDecimalHexAndBinary) {
  struct Case {
    const char* text;
    int64_t v;
  } cases[] = {{" 42abc", 42},
               {"-$ff", -255},
               {"x1", 0},
               {"", 0},
               {"\t+%101", 5},
               {"$1F", 31},
               {"-", 0},
               {"$", 0},
               {"%2", 0},
               {"  -12 3", -12},
               {"18446744073709551617", 1},
               {"9223372036854775808", INT64_MIN},
               {"$FFFFFFFFFFFFFFFF", -1},
               {"- 5", 0}};
  for (const Case& c : cases) EXPECT_EQ(TextToNumber(c.text), c.v) << c.text;
}

TEST(TextTest, EqualityIsExactBytes) {
  EXPECT_EQ(TextEquals("Abc", "abc"), 0);
  EXPECT_EQ(TextEquals("", std::string()), 1);
  EXPECT_EQ(TextEquals("ab", "abc"), 0);
  EXPECT_EQ(TextEquals("\xE9", "\xE9"), 1);
}

TEST(TextTest, Windows1252AndUtf8RoundTrip) {
  EXPECT_EQ(Cp1252ToUtf8("caf\xE9 \x80 \x9F"), "caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8");
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  // What does not fit, and broken sequences, are dropped.
  EXPECT_EQ(Utf8ToCp1252("a\xE4\xB8\xAD"
                         "b\xF0\x9F\x98\x80"
                         "c\xC3"),
            "abc");
  EXPECT_EQ(Utf8ToCp1252("\x80\xBF"
                         "d\xE2\x82"
                         "e"),
            "de");
}

}  // namespace
}  // namespace qm
