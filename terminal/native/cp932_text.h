// Conversions between code page 932 and UTF-8: screen rows and dump texts
// printed, texts of scripts sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Bytes that do not decode (a lone lead byte, an unassigned code) become U+FFFD.
std::string Cp932ToUtf8(const std::uint8_t* bytes, std::size_t length);

// UTF-8 text in code page 932. False when the text is not well-formed UTF-8
// or holds a character that code page 932 lacks; `cp932` is then incomplete.
bool Utf8ToCp932(std::string_view utf8, std::string& cp932);
