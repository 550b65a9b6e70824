// Small JPEG pictures for the picture loading tests, written with libjpeg.
#include "tests/engine/video_test_support.hpp"

#include <cstddef>
#include <cstdio>

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace qm::test {

std::vector<uint8_t> JpegBytes(const Picture& p, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(p.width);
  info.image_height = JDIMENSION(p.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(p.width) * 3);
  while (info.next_scanline < info.image_height) {
    int y = int(info.next_scanline);
    for (int x = 0; x < p.width; ++x) {
      Rgb c = p.pixels[size_t(y) * p.width + x];
      row[size_t(x) * 3] = uint8_t(Red(c));
      row[size_t(x) * 3 + 1] = uint8_t(Green(c));
      row[size_t(x) * 3 + 2] = uint8_t(Blue(c));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

std::vector<uint8_t> InkJpegBytes(const std::vector<uint8_t>& inks, int width, int height,
                                  bool ycck, bool adobe) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, ycck ? JCS_YCCK : JCS_CMYK);
  info.write_Adobe_marker = adobe ? TRUE : FALSE;
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {const_cast<uint8_t*>(inks.data()) + size_t(info.next_scanline) * width * 4};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

}  // namespace qm::test
