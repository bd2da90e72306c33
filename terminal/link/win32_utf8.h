// UTF-16 text of the system as UTF-8, the coding the console tool prints in.
#pragma once

#include <string>

// The whole text; a lone surrogate becomes U+FFFD.
std::string Utf8OfWide(const std::wstring& wide);
