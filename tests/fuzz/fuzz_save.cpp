// Saved levels read by the level list and by qm-save: any bytes, as they are and resealed
// (length and checksum made right, so the fuzzer reaches the body's checks). A save that is
// read must come out of the writer byte for byte, and its JSON dump must be made safely.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/play/SavedLevel.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

namespace {

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > qm::kMaxSavedLevelBytes) return 0;  // the reader never reads more
  std::string bytes(reinterpret_cast<const char*>(data), size);
  Check(bytes);
  if (size >= qm::kSealHeaderBytes) Check(qm::fuzz::Resealed(bytes));
  return 0;
}
