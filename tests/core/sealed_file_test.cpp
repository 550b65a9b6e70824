// The one envelope of the player's files beside the profiles (saved levels, records): what
// Unseal says of each kind of bad bytes, and the byte reader that never reads past the end.
#include <gtest/gtest.h>

#include "engine/SealedFile.hpp"

namespace qm {
namespace {

TEST(SealedFile, UnsealTellsEachKindOfBadEnvelope) {
  ByteWriter body;
  body.Text("Ana", 255);
  body.I64(-5);
  const std::string good = Seal("QMTESTER", 3, body.bytes());
  ASSERT_EQ(good.size(), kSealHeaderBytes + body.bytes().size());
  auto flipped = [&good](size_t at) {
    std::string b = good;
    b[at] = static_cast<char>(b[at] ^ 0x21);
    return b;
  };
  const struct {
    const char* what;
    std::string bytes;
    Unsealed want;
  } cases[] = {
      {"whole", good, Unsealed::kWhole},
      {"empty", "", Unsealed::kNotThisFormat},
      {"shorter than the envelope", good.substr(0, kSealHeaderBytes - 1), Unsealed::kNotThisFormat},
      {"another format name", flipped(0), Unsealed::kNotThisFormat},
      {"another version", flipped(8), Unsealed::kOtherVersion},
      {"a length too large", flipped(12), Unsealed::kWrongLength},
      {"cut short", good.substr(0, good.size() - 1), Unsealed::kWrongLength},
      {"a byte too many", good + "x", Unsealed::kWrongLength},
      {"a body byte flipped", flipped(kSealHeaderBytes + 1), Unsealed::kDamaged},
      {"a checksum byte flipped", flipped(16), Unsealed::kDamaged},
      {"larger than the format allows", good + std::string(100, '\0'), Unsealed::kTooLarge},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Unseal(c.bytes, "QMTESTER", 3, good.size() + 50), c.want) << c.what;
  }
  EXPECT_EQ(Unseal(good, "QMTESTER", 3, good.size()), Unsealed::kWhole);
}

TEST(SealedFile, TheReaderStopsAtTheEndAndAtATextsLimit) {
  ByteWriter w;
  w.U16(0xBEEF);
  w.I32(-7);
  w.Text("a long name", 6);  // cut to its limit when written
  w.U64(0x0102030405060708ull);
  {
    ByteReader r(w.bytes(), 0);
    EXPECT_EQ(r.U16(), 0xBEEFu);
    EXPECT_EQ(r.I32(), -7);
    EXPECT_EQ(r.Text(6), "a long");
    EXPECT_EQ(r.U64(), 0x0102030405060708ull);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(r.U8(), 0u);  // past the end: fails, and stays failed
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.AtEnd());
  }
  {
    ByteReader r(w.bytes(), 6);
    EXPECT_EQ(r.Text(5), "");  // longer than this format allows
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.U16(), 0u);
  }
  {
    ByteWriter lie;
    lie.U32(1000);  // a length the bytes cannot hold
    lie.U8('x');
    ByteReader r(lie.bytes(), 0);
    EXPECT_EQ(r.Text(4096), "");
    EXPECT_FALSE(r.ok());
  }
  ByteReader outside(w.bytes(), w.bytes().size() + 1);
  EXPECT_FALSE(outside.ok());
  EXPECT_EQ(outside.Left(), 0u);
}

}  // namespace
}  // namespace qm
