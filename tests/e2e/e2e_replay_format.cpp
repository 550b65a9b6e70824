// The replay text format: what a recorded session reads back as, and what it refuses.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/e2e/Replay.hpp"

namespace qm::e2e {
namespace {

TEST(ReplayFormat, ReadsBackWhatItWrites) {
  Replay r;
  r.seed = 77;
  r.width = 1920;
  r.height = 1080;
  r.easels.push_back({1, {3, 1, 20, 160}});
  ReplayLine a;
  a.tick = 100;
  a.state.keys = {28, 42};
  a.state.x = 10;
  a.state.y = -1;
  a.state.left = true;
  a.state.middle = true;
  ReplayLine b;
  b.tick = 148;
  b.state.text = "a b%\xe9";
  b.state.focus = false;
  r.lines = {a, b};
  r.endTick = 500;
  Replay back = ParseReplay(FormatReplay(r));
  EXPECT_EQ(FormatReplay(back), FormatReplay(r));
  ASSERT_EQ(back.lines.size(), 2u);
  EXPECT_EQ(back.lines[0].state.keys, (std::set<int>{28, 42}));
  EXPECT_TRUE(back.lines[0].state.left);
  EXPECT_FALSE(back.lines[0].state.right);
  EXPECT_EQ(back.lines[0].state.y, -1);
  EXPECT_EQ(back.lines[1].state.text, "a b%\xe9");
  EXPECT_FALSE(back.lines[1].state.focus);
  EXPECT_EQ(back.easels[0].codes, (std::vector<int16_t>{3, 1, 20, 160}));
  EXPECT_EQ(*back.endTick, 500u);
}

TEST(ReplayFormat, RefusesMalformedLinesNamingThem) {
  const char* bad[] = {
      "",                                                      // no header
      "quillmosaica-replay 2\n",                               // unknown version
      "quillmosaica-replay 1\n20 keys=- mouse=1 buttons=-\n",  // mouse without y
      "quillmosaica-replay 1\n20 keys=300 mouse=1,1 buttons=-\n",
      "quillmosaica-replay 1\n20 buttons=X\n",
      "quillmosaica-replay 1\n30 keys=-\n20 keys=-\n",  // tick going back
      "quillmosaica-replay 1\nfoo 1\n",
      "quillmosaica-replay 1\n12x keys=-\n",
      "quillmosaica-replay 1\neasel 1\n",
      "quillmosaica-replay 1\nscreen 0 10\n",
  };
  for (const char* text : bad) EXPECT_THROW(ParseReplay(text), std::runtime_error) << text;
}

TEST(ReplayFormat, SkipsCommentsAndBlankLines) {
  Replay r = ParseReplay(
      "# a session\nquillmosaica-replay 1\n\n# start\n16 keys=57 mouse=1,2 buttons=R\n");
  ASSERT_EQ(r.lines.size(), 1u);
  EXPECT_EQ(r.lines[0].tick, 16u);
  EXPECT_TRUE(r.lines[0].state.right);
}

}  // namespace
}  // namespace qm::e2e
