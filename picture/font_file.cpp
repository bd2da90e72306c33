#include "picture/font_file.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>
#include <memory>

namespace {

constexpr char Family[] = "IPAGothic";
constexpr char PackagedFile[] = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

struct PatternRelease {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternRelease>;

// The string of OBJECT in the pattern, or empty.
std::string PatternString(const FcPattern& pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(&pattern, object, 0, &value) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(value);
}

// fontconfig's best match for the family: its file when the match really is
// that family (fontconfig always names some font), otherwise empty.
std::string AskFontconfig() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return {};
  std::string file;
  Pattern wanted(FcNameParse(reinterpret_cast<const FcChar8*>(Family)));
  if (wanted && FcConfigSubstitute(config, wanted.get(), FcMatchPattern)) {
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const Pattern found(FcFontMatch(config, wanted.get(), &result));
    if (found && PatternString(*found, FC_FAMILY).find(Family) != std::string::npos)
      file = PatternString(*found, FC_FILE);
  }
  FcConfigDestroy(config);
  return file;
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string ScreenFontFile() {
  const std::string file = AskFontconfig();
  if (IsFile(file)) return file;
  return IsFile(PackagedFile) ? PackagedFile : std::string();
}
