#pragma once
// The envelope of the files the game keeps for a player beside the profiles (saved levels,
// records): an 8-byte format name, a version, the body's length and its checksum, then the
// body, all little-endian. Each format reads its own body (and checks the player's name in
// it) with the one ByteReader, whose reads stop at the end of the bytes.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qm {

// Format name, version, body length, checksum.
constexpr size_t kSealHeaderBytes = 8 + 4 + 4 + 8;

// 64-bit FNV-1a: the checksum of a sealed body, and the hash of a level's bytes.
uint64_t HashBytes(const char* data, size_t size);
uint64_t HashBytes(const std::string& bytes);

// name must be 8 bytes long.
std::string Seal(const std::string& name, uint32_t version, const std::string& body);

enum class Unsealed {
  kWhole,          // the body starts at kSealHeaderBytes
  kNotThisFormat,  // too short for the envelope, or another format name
  kOtherVersion,
  kWrongLength,  // cut short or too long
  kDamaged,      // the checksum does not match
  kTooLarge,     // more than maxBytes
};
Unsealed Unseal(const std::string& bytes, const std::string& name, uint32_t version,
                size_t maxBytes);

class ByteWriter {
 public:
  void U8(uint32_t v) { bytes_.push_back(static_cast<char>(v & 0xFF)); }
  void U16(uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void U64(uint64_t v) {
    U32(static_cast<uint32_t>(v));
    U32(static_cast<uint32_t>(v >> 32));
  }
  void I8(int v) { U8(static_cast<uint8_t>(v)); }
  void I16(int v) { U16(static_cast<uint16_t>(v)); }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void I64(int64_t v) { U64(static_cast<uint64_t>(v)); }
  // Its length, then at most maxBytes of it.
  void Text(const std::string& s, size_t maxBytes);
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Any read past the end, or of a text longer than its limit, fails the whole (ok() false)
// and gives 0 or "" from then on.
class ByteReader {
 public:
  ByteReader(const std::string& bytes, size_t from) : bytes_(bytes), at_(from) {
    if (at_ > bytes_.size()) Fail();
  }
  bool ok() const { return ok_; }
  bool AtEnd() const { return ok_ && at_ == bytes_.size(); }
  size_t Left() const { return ok_ ? bytes_.size() - at_ : 0; }
  void Fail() { ok_ = false; }
  uint32_t U8() {
    if (!ok_ || at_ >= bytes_.size()) {
      ok_ = false;
      return 0;
    }
    return static_cast<uint8_t>(bytes_[at_++]);
  }
  uint32_t U16() {
    const uint32_t lo = U8();
    return lo | (U8() << 8);
  }
  uint32_t U32() {
    const uint32_t lo = U16();
    return lo | (U16() << 16);
  }
  uint64_t U64() {
    const uint64_t lo = U32();
    return lo | (uint64_t{U32()} << 32);
  }
  int8_t I8() { return static_cast<int8_t>(U8()); }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  int64_t I64() { return static_cast<int64_t>(U64()); }
  std::string Text(size_t maxBytes);

 private:
  const std::string& bytes_;
  size_t at_;
  bool ok_ = true;
};

}  // namespace qm
