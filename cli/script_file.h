// Reading a talvorix-cli script, from a file or, for "-", standard input,
// within the script's size bound (script.h): a script of /dev/zero or an
// endless line is a fault, not all the memory of the machine.
#pragma once

#include <string>

// The script's bytes. False, with `error`, when it cannot be opened or read
// or holds more than LongestScriptBytes, of which at most one chunk more is
// read.
bool ReadScriptFile(const std::string& path, std::string& text, std::string& error);
