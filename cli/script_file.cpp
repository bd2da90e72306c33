#include "cli/script_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/script.h"

namespace {

// Appends what is left in `stream` until `bytes` holds more than `limit`.
bool ReadUpTo(std::FILE* stream, std::size_t limit, std::string& bytes) {
  char chunk[65536];
  std::size_t got = 0;
  while (bytes.size() <= limit && (got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) bytes.append(chunk, got);
  return std::ferror(stream) == 0;
}

std::string CannotRead(const std::string& path) {
  return "cannot read the script " + path + ": " + std::strerror(errno);
}

}  // namespace

bool ReadScriptFile(const std::string& path, std::string& text, std::string& error) {
  std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
  const bool read = file != nullptr && ReadUpTo(file, LongestScriptBytes, text);
  if (!read) error = CannotRead(path);
  if (file != nullptr && file != stdin) std::fclose(file);
  const bool fits = text.size() <= LongestScriptBytes;
  if (!fits) error = path + ": the script is larger than " + std::to_string(LongestScriptBytes) + " bytes";
  return read && fits;
}
