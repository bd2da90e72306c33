#include "cli/row_pattern.h"

std::unique_ptr<const re2::RE2> CompileRowPattern(std::string_view text, std::string& error) {
  re2::RE2::Options options;
  options.set_log_errors(false);
  auto pattern = std::make_unique<const re2::RE2>(re2::StringPiece(text.data(), text.size()), options);
  if (pattern->ok()) return pattern;
  error = "the pattern /" + std::string(text) + "/ is not valid: " + pattern->error();
  return nullptr;
}
