// Saved levels read by the level list and by qm-save: any bytes, as they are and resealed
// (size and checksum made right, so the fuzzer reaches the payload's checks). A save that is
// read must come out of the writer byte for byte, and its JSON dump must be made safely.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/play/SavedLevel.hpp"

namespace {

constexpr size_t kHeader = 8 + 4 + 4 + 8;  // format name, version, payload size, checksum

void Check(const std::string& bytes) {
  qm::SavedLevel saved;
  std::string why;
  if (!qm::DecodeSavedLevel(bytes, saved, why)) {
    if (why.empty()) std::abort();  // a refusal always says why
    return;
  }
  if (qm::EncodeSavedLevel(saved) != bytes) std::abort();
  (void)qm::SavedLevelJson(saved);
}

void Put(std::string& bytes, size_t at, uint64_t value, int count) {
  for (int k = 0; k < count; ++k)
    bytes[at + static_cast<size_t>(k)] = static_cast<char>(value >> (8 * k));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > qm::kMaxSavedLevelBytes) return 0;  // the reader never reads more
  std::string bytes(reinterpret_cast<const char*>(data), size);
  Check(bytes);
  if (size < kHeader) return 0;
  Put(bytes, 12, size - kHeader, 4);
  Put(bytes, 16, qm::HashBytes(bytes.substr(kHeader)), 8);
  Check(bytes);
  return 0;
}
