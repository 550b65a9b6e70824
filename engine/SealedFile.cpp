#include "engine/SealedFile.hpp"

#include <algorithm>
#include <cstring>

namespace qm {

uint64_t HashBytes(const char* data, size_t size) {
  uint64_t h = 1469598103934665603ull;
  for (size_t k = 0; k < size; ++k) {
    h ^= static_cast<uint8_t>(data[k]);
    h *= 1099511628211ull;
  }
  return h;
}

uint64_t HashBytes(const std::string& bytes) {
  return HashBytes(bytes.data(), bytes.size());
}

std::string Seal(const std::string& name, uint32_t version, const std::string& body) {
  ByteWriter head;
  for (size_t k = 0; k < 8; ++k) head.U8(k < name.size() ? static_cast<uint8_t>(name[k]) : 0);
  head.U32(version);
  head.U32(static_cast<uint32_t>(body.size()));
  head.U64(HashBytes(body));
  return head.bytes() + body;
}

Unsealed Unseal(const std::string& bytes, const std::string& name, uint32_t version,
                size_t maxBytes) {
  if (bytes.size() > maxBytes) return Unsealed::kTooLarge;
  if (bytes.size() < kSealHeaderBytes || name.size() != 8 ||
      std::memcmp(bytes.data(), name.data(), 8) != 0) {
    return Unsealed::kNotThisFormat;
  }
  ByteReader head(bytes, 8);
  const uint32_t fileVersion = head.U32();
  const uint32_t length = head.U32();
  const uint64_t checksum = head.U64();
  if (fileVersion != version) return Unsealed::kOtherVersion;
  if (length != bytes.size() - kSealHeaderBytes) return Unsealed::kWrongLength;
  if (HashBytes(bytes.data() + kSealHeaderBytes, length) != checksum) return Unsealed::kDamaged;
  return Unsealed::kWhole;
}

void ByteWriter::Text(const std::string& s, size_t maxBytes) {
  const size_t n = std::min(s.size(), maxBytes);
  U32(static_cast<uint32_t>(n));
  bytes_.append(s, 0, n);
}

std::string ByteReader::Text(size_t maxBytes) {
  const uint32_t n = U32();
  if (!ok_ || n > maxBytes || n > bytes_.size() - at_) {
    ok_ = false;
    return {};
  }
  std::string s = bytes_.substr(at_, n);
  at_ += n;
  return s;
}

}  // namespace qm
