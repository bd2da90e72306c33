#pragma once

#include <ostream>

// Converts the binary ROM image `inputName` into the Intel HEX file `outputName`.
// The image may not be larger than the ROM size named by `romSizeText`.
// Messages go to `console`. Result: 0 done, 1 a file cannot be opened,
// 2 the image is larger than the ROM, 6 the output could not be written
// completely.
int ConvertBinToHex(const char* inputName, const char* outputName, const char* romSizeText,
                    std::ostream& console);
