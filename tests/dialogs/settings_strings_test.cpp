// The list texts of the resource script and of the value tables must agree:
// the program shows the resource's text and stores the table's value.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "terminal/link/settings/settings_lists.h"

namespace {

std::map<std::string, std::string> StringTable() {
  std::ifstream file(DIALOGS_SOURCE_DIR "/terminal/ui/settings/settings_dialog.rc");
  std::stringstream text;
  text << file.rdbuf();
  std::string script = text.str();
  std::size_t start = script.find("STRINGTABLE");
  std::map<std::string, std::string> strings;
  if (start == std::string::npos) return strings;
  std::istringstream lines(script.substr(start));
  const std::regex entry(R"(^\s*(\w+)\s+\"([^\"]*)\"\s*$)");
  std::string line;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (std::regex_match(line, match, entry)) strings[match[1]] = match[2];
  }
  return strings;
}

void ExpectListStrings(const std::map<std::string, std::string>& strings, const ValueList& list) {
  for (int position = 0; position < list.count; ++position) {
    std::string id = std::to_string(list.firstStringId + position);
    ASSERT_TRUE(strings.count(id)) << id;
    EXPECT_EQ(strings.at(id), list.entries[position].text) << id;
  }
}

TEST(SettingsStrings, TheScriptCarriesEveryListTextOfTheTables) {
  auto strings = StringTable();
  ExpectListStrings(strings, BaudRateList);
  ExpectListStrings(strings, ParityList);
  ExpectListStrings(strings, StopBitsList);
}

TEST(SettingsStrings, ThePortNameIsCom) {
  auto strings = StringTable();
  ASSERT_TRUE(strings.count("IDS_PORT_NAME"));
  EXPECT_EQ(strings.at("IDS_PORT_NAME"), "COM");
}

TEST(SettingsStrings, NoOtherStrings) {
  EXPECT_EQ(StringTable().size(), 1u + 25 + 5 + 3);
}

}  // namespace
