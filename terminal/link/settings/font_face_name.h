// The face name of a FontSpec: code page 932 bytes in 32 bytes, NUL-terminated.
#pragma once

#include <string_view>

#include "terminal/model/terminal_state.h"

constexpr int FaceNameBytes = int(sizeof(FontSpec::lfFaceName));

// Stores a Shift-JIS face name, cut to fit if it is too long; a cut never
// splits a double-byte character, so the name stays valid text.
void StoreFaceName(std::string_view sjisName, FontSpec& font);

// The face name as stored, up to its NUL or the end of the field.
std::string_view FaceNameOf(const FontSpec& font);
