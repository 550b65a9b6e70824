// JPEG pictures: the title and the space backgrounds.
#include "tests/fuzz/FuzzPicture.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Only files the loader takes for JPEG; the bitmap target covers the rest.
  if (size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF) return 0;
  return qm::fuzz::LoadAndDrawPicture(data, size, "gfx/fond/0.jpg");
}
