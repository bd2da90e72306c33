#include "picture/png_writer.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

// The file is written whole by this code on zlib (its deflate and CRC), the
// same on Linux and in the Windows builds, where Debian's mingw-w64 has zlib
// but no libpng: 8-bit RGB, no interlace, every row with filter type 0.
namespace {

using Bytes = std::vector<unsigned char>;

void PutBigEndian(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

// A chunk: its length, type, data and the CRC of type and data.
void PutChunk(Bytes& out, const char* type, const Bytes& data) {
  PutBigEndian(out, std::uint32_t(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(crc32(0, nullptr, 0), out.data() + typeAt, uInt(out.size() - typeAt));
  PutBigEndian(out, std::uint32_t(crc));
}

Bytes Header(int width, int height) {
  Bytes header;
  PutBigEndian(header, std::uint32_t(width));
  PutBigEndian(header, std::uint32_t(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filter 0, no interlace
  return header;
}

// Row-major COLORREF pixels as the rows of the image, each after its filter byte.
Bytes Scanlines(int width, int height, const COLORREF* pixels) {
  Bytes rows;
  rows.reserve(std::size_t(height) * (std::size_t(width) * 3 + 1));
  for (std::size_t i = 0; i < std::size_t(width) * std::size_t(height); ++i) {
    if (i % std::size_t(width) == 0) rows.push_back(0);
    for (int shift : {0, 8, 16}) rows.push_back(static_cast<unsigned char>((pixels[i] >> shift) & 0xFF));
  }
  return rows;
}

bool Deflate(const Bytes& raw, Bytes& packed) {
  uLongf size = compressBound(uLong(raw.size()));
  packed.resize(size);
  if (compress2(packed.data(), &size, raw.data(), uLong(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK) return false;
  packed.resize(size);
  return true;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return (std::fclose(file) == 0) && written;
}

bool WritePixels(const std::string& path, int width, int height, const COLORREF* pixels) {
  Bytes packed;
  if (!Deflate(Scanlines(width, height, pixels), packed)) return false;
  Bytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", Header(width, height));
  PutChunk(file, "IDAT", packed);
  PutChunk(file, "IEND", Bytes{});
  return WriteFileBytes(path, file);
}

}  // namespace

bool WritePng(const std::string& path, const Raster& raster) {
  return WritePixels(path, raster.width, raster.height, raster.pixels.data());
}

bool WritePng(const std::string& path, const GraphicPlane& plane) {
  return WritePixels(path, GraphicWidth, GraphicHeight, plane.Pixels().data());
}
