// Code page 932 text to UTF-8, for printing screen rows and dump texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Bytes that do not decode (a lone lead byte, an unassigned code) become U+FFFD.
std::string Cp932ToUtf8(const std::uint8_t* bytes, std::size_t length);
