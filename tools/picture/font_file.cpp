#include "tools/picture/font_file.h"

#include <cstdio>
#include <filesystem>

namespace {

constexpr char Family[] = "IPAGothic";
constexpr char PackagedFile[] = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// fc-match's "FAMILY\nFILE" for the family, or empty without fontconfig.
std::string AskFontconfig() {
  std::FILE* pipe = popen("fc-match -f '%{family}\\n%{file}' IPAGothic 2>/dev/null", "r");
  if (pipe == nullptr) return {};
  std::string answer;
  char buffer[512];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) answer.append(buffer, n);
  pclose(pipe);
  return answer;
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string ScreenFontFile() {
  const std::string answer = AskFontconfig();
  const std::size_t newline = answer.find('\n');
  if (newline != std::string::npos && answer.substr(0, newline).find(Family) != std::string::npos) {
    const std::string file = answer.substr(newline + 1);
    if (IsFile(file)) return file;
  }
  return IsFile(PackagedFile) ? PackagedFile : std::string();
}
