// Small JPEG pictures for the picture loading tests, written with libjpeg.
#include "tests/engine/video_test_support.hpp"

#include <cstddef>
#include <cstdio>
#include <functional>

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace qm::test {

namespace {

// Compresses `rows` (components bytes a pixel, row after row) in the colour space given;
// setup adjusts the encoder after its defaults.
std::vector<uint8_t> Compress(const std::vector<uint8_t>& rows, int width, int height,
                              int components, J_COLOR_SPACE space,
                              const std::function<void(jpeg_compress_struct&)>& setup) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  setup(info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row[1] = {const_cast<uint8_t*>(rows.data()) +
                       size_t(info.next_scanline) * size_t(width) * size_t(components)};
    jpeg_write_scanlines(&info, row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

}  // namespace

std::vector<uint8_t> JpegBytes(const Picture& p, int quality) {
  std::vector<uint8_t> rgb;
  rgb.reserve(p.pixels.size() * 3);
  for (Rgb c : p.pixels) {
    rgb.push_back(uint8_t(Red(c)));
    rgb.push_back(uint8_t(Green(c)));
    rgb.push_back(uint8_t(Blue(c)));
  }
  return Compress(rgb, p.width, p.height, 3, JCS_RGB, [quality](jpeg_compress_struct& info) {
    jpeg_set_quality(&info, quality, TRUE);
  });
}

std::vector<uint8_t> InkJpegBytes(const std::vector<uint8_t>& inks, int width, int height,
                                  bool ycck, bool adobe) {
  return Compress(inks, width, height, 4, JCS_CMYK, [ycck, adobe](jpeg_compress_struct& info) {
    jpeg_set_colorspace(&info, ycck ? JCS_YCCK : JCS_CMYK);
    info.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_set_quality(&info, 95, TRUE);
  });
}

}  // namespace qm::test
