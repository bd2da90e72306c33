#include "common/whole_file.h"

#include <cerrno>

bool ReadWholeStream(std::FILE* stream, std::string& bytes) {
  char chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) bytes.append(chunk, got);
  return std::ferror(stream) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  const bool read = ReadWholeStream(file, bytes);
  const int readError = errno;
  std::fclose(file);
  errno = readError;
  return read;
}
