// Windows bitmaps: the pictures of cells, Pieces and the interface.
#include "tests/fuzz/FuzzPicture.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Only files the loader takes for bitmaps; the JPEG target covers the rest.
  if (size < 2 || data[0] != 'B' || data[1] != 'M') return 0;
  return qm::fuzz::LoadAndDrawPicture(data, size, "gfx/1.bmp");
}
