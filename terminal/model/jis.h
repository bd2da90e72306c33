// Conversions of one double-byte character between JIS X 0208 and Shift-JIS
// (code page 932), by arithmetic alone.
#pragma once

#include <cstdint>

// A JIS code (row byte high, cell byte low) to a Shift-JIS pair held with the
// lead byte in the low byte, so that the pair stored little-endian gives the
// two bytes in text order. Total: inputs outside the JIS range convert by the
// same arithmetic.
std::uint16_t JisToSjis(std::uint16_t jis);

// The reverse: a Shift-JIS pair (lead byte low) to a JIS code.
std::uint16_t SjisToJis(std::uint16_t sjisPair);
