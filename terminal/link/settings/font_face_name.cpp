#include "terminal/link/settings/font_face_name.h"

#include <cstring>

namespace {

bool IsSjisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// How many bytes of the name fit before the terminating NUL, whole characters only.
std::size_t FittingLength(std::string_view name) {
  const std::size_t room = FaceNameBytes - 1;
  std::size_t length = 0;
  while (length < name.size()) {
    std::size_t next = length + (IsSjisLeadByte(static_cast<unsigned char>(name[length])) ? 2 : 1);
    if (next > room || next > name.size()) break;
    length = next;
  }
  return length;
}

}  // namespace

void StoreFaceName(std::string_view sjisName, FontSpec& font) {
  std::size_t length = FittingLength(sjisName.substr(0, sjisName.find('\0')));
  std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
  std::memcpy(font.lfFaceName, sjisName.data(), length);
}

std::string_view FaceNameOf(const FontSpec& font) {
  std::size_t length = 0;
  while (length < sizeof font.lfFaceName && font.lfFaceName[length] != '\0') ++length;
  return std::string_view(font.lfFaceName, length);
}
