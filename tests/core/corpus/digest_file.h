// The file of the corpus's digests: comment lines starting with "#", then one
// line "ID DIGEST" for each stream, in corpus order.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

using StreamDigests = std::vector<std::pair<std::string, std::string>>;

// Id to digest; empty when the file cannot be read.
std::map<std::string, std::string> ReadDigestFile(const std::string& path);

// False when the file cannot be written.
bool WriteDigestFile(const std::string& path, const StreamDigests& digests);
