#pragma once

// ROM sizes the converter knows, from the command line's ROM_size text.
// Anything not in the table selects the largest image, 1024k.
long ParseRomSize(const char* text);
