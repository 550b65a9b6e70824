// Typed text on the new player screen.
#include <gtest/gtest.h>

#include "game/flow/NewPlayer.hpp"
#include "game/flow/Profiles.hpp"

namespace qm {
namespace {

TEST(NewPlayerName, TypedTextIsAppendedWithoutReturnsOrBackspaces) {
  struct Case {
    const char* what;
    std::string before, typed;
    bool shift;
    std::string after;
  };
  const Case cases[] = {
      {"plain", "a", "b", false, "ab"},
      {"shift gives capitals", "a", "b", true, "aB"},
      {"return dropped", "ab", "\r", false, "ab"},
      {"backspace character dropped", "ab", "\b", false, "ab"},
      {"several at once", "", "x\ry\bz", false, "xyz"},
      {"nothing typed", "abc", "", true, "abc"},
  };
  for (const Case& c : cases) {
    std::string name = c.before;
    AppendTypedText(name, c.typed, c.shift);
    EXPECT_EQ(name, c.after) << c.what;
  }
}

TEST(NewPlayerName, StopsAtTheLongestNameAProfileCanHold) {
  std::string name(126, 'a');
  AppendTypedText(name, "bc", false);
  EXPECT_EQ(name.size(), static_cast<size_t>(kMaxNameBytes));
  EXPECT_EQ(name.back(), 'b');
  AppendTypedText(name, "d", false);
  EXPECT_EQ(name.size(), static_cast<size_t>(kMaxNameBytes));
  EXPECT_EQ(name.back(), 'b');
}

}  // namespace
}  // namespace qm
