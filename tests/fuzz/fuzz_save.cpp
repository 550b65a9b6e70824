// Saved levels read by the level list and by qm-save: any bytes. A save that is read must
// come out of the writer byte for byte, and its JSON dump must be made without a fault.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/play/SavedLevel.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > qm::kMaxSavedLevelBytes) return 0;  // the reader never reads more
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  qm::SavedLevel saved;
  std::string why;
  if (!qm::DecodeSavedLevel(bytes, saved, why)) {
    if (why.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  if (qm::EncodeSavedLevel(saved) != bytes) std::abort();
  (void)qm::SavedLevelJson(saved);
  return 0;
}
