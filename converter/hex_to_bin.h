#pragma once

#include <ostream>

// Converts the Intel HEX file `inputName` into the binary ROM image `outputName`
// of exactly the ROM size named by `romSizeText`, every byte no record sets left
// at 0xFF. Messages go to `console`. Result: 0 done, 1 a file cannot be opened,
// 5 a record starts beyond the ROM size, 6 the output could not be written
// completely.
int ConvertHexToBin(const char* inputName, const char* outputName, const char* romSizeText,
                    std::ostream& console);
