#include "image_io.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#ifdef PCDMAKE_WITH_PNG
#include <png.h>
#endif
#ifdef PCDMAKE_WITH_JPEG
#include <jpeglib.h>
#include <csetjmp>
#endif

namespace pcdmake {
namespace {

constexpr int kMaxSide = 30000;  // refuse absurd sizes before allocating

bool SizeOk(long w, long h, std::string& error) {
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) {
    error = "picture size " + std::to_string(w) + " x " + std::to_string(h) + " is not supported";
    return false;
  }
  return true;
}

// Skips blanks and # comments of a PPM header, then reads a number.
bool PpmNumber(std::istream& in, long& value) {
  int c;
  while ((c = in.get()) != EOF) {
    if (c == '#') { while ((c = in.get()) != EOF && c != '\n') {} continue; }
    if (!std::isspace(c)) break;
  }
  if (c == EOF || !std::isdigit(c)) return false;
  value = 0;
  do {
    value = value * 10 + (c - '0');
    if (value > 1000000) return false;
  } while ((c = in.get()) != EOF && std::isdigit(c));
  return c != EOF;  // the single blank after the number is consumed
}

bool ReadPpm(std::istream& in, RgbImage& image, std::string& error) {
  long w, h, maxval;
  if (!PpmNumber(in, w) || !PpmNumber(in, h) || !PpmNumber(in, maxval)) {
    error = "broken PPM header";
    return false;
  }
  if (!SizeOk(w, h, error)) return false;
  if (maxval < 1 || maxval > 65535) { error = "PPM maximum value out of range"; return false; }
  const int bytesPer = maxval > 255 ? 2 : 1;
  std::vector<unsigned char> raw(static_cast<std::size_t>(w) * h * 3 * bytesPer);
  if (!in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size()))) {
    error = "PPM pixel data is cut short";
    return false;
  }
  image = RgbImage(static_cast<int>(w), static_cast<int>(h));
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const long v = bytesPer == 2 ? raw[2 * i] << 8 | raw[2 * i + 1] : raw[i];
    image.pixels[i] = static_cast<std::uint8_t>((v * 255 + maxval / 2) / maxval);
  }
  return true;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

#ifdef PCDMAKE_WITH_PNG
bool ReadPng(const std::string& path, RgbImage& image, std::string& error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    error = std::string("PNG: ") + png.message;
    return false;
  }
  if (!SizeOk(png.width, png.height, error)) { png_image_free(&png); return false; }
  png.format = PNG_FORMAT_RGB;
  image = RgbImage(static_cast<int>(png.width), static_cast<int>(png.height));
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
    error = std::string("PNG: ") + png.message;
    png_image_free(&png);
    return false;
  }
  return true;
}
#endif

#ifdef PCDMAKE_WITH_JPEG
struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
  auto* e = reinterpret_cast<JpegError*>(info->err);
  e->manager.format_message(info, e->message);
  std::longjmp(e->jump, 1);
}

bool ReadJpeg(const std::string& path, RgbImage& image, std::string& error) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) { error = "cannot open file"; return false; }
  jpeg_decompress_struct info;
  JpegError jerr;
  info.err = jpeg_std_error(&jerr.manager);
  jerr.manager.error_exit = OnJpegError;
  if (setjmp(jerr.jump)) {
    error = std::string("JPEG: ") + jerr.message;
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file.get());
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (!SizeOk(info.output_width, info.output_height, error)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  image = RgbImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.Pixel(0, static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}
#endif

}  // namespace

bool ReadImageFile(const std::string& path, RgbImage& image, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) { error = "cannot open file"; return false; }
  unsigned char magic[4] = {0, 0, 0, 0};
  in.read(reinterpret_cast<char*>(magic), 4);
  if (magic[0] == 'P' && magic[1] == '6') {
    in.seekg(2);
    return ReadPpm(in, image, error);
  }
  if (magic[0] == 0x89 && magic[1] == 'P' && magic[2] == 'N' && magic[3] == 'G') {
#ifdef PCDMAKE_WITH_PNG
    return ReadPng(path, image, error);
#else
    error = "this build of pcdmake reads no PNG files";
    return false;
#endif
  }
  if (magic[0] == 0xFF && magic[1] == 0xD8) {
#ifdef PCDMAKE_WITH_JPEG
    return ReadJpeg(path, image, error);
#else
    error = "this build of pcdmake reads no JPEG files";
    return false;
#endif
  }
  error = "not a picture in a supported format (" + SupportedInputFormats() + ")";
  return false;
}

bool WritePpm(const std::string& path, const RgbImage& image) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
  out.write(reinterpret_cast<const char*>(image.pixels.data()), static_cast<std::streamsize>(image.pixels.size()));
  return static_cast<bool>(out);
}

std::string SupportedInputFormats() {
  std::string formats = "binary PPM";
#ifdef PCDMAKE_WITH_PNG
  formats += ", PNG";
#endif
#ifdef PCDMAKE_WITH_JPEG
  formats += ", JPEG";
#endif
  return formats;
}

}  // namespace pcdmake
