// The script's lines, and its faults with their line numbers.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/scratch_dir.h"
#include "cli/script.h"
#include "cli/script_file.h"

namespace {

std::vector<ScriptLine> Parsed(const std::string& text) {
  std::vector<ScriptLine> lines;
  std::string error;
  EXPECT_TRUE(ParseScript(text, lines, error)) << error;
  return lines;
}

std::string Fault(const std::string& text) {
  std::vector<ScriptLine> lines;
  std::string error;
  EXPECT_FALSE(ParseScript(text, lines, error)) << text;
  return error;
}

ScriptLine One(const std::string& text) {
  const std::vector<ScriptLine> lines = Parsed(text);
  EXPECT_EQ(lines.size(), 1u) << text;
  return lines.empty() ? ScriptLine{} : lines[0];
}

TEST(Script, CommentsAndBlankLinesAreSkippedAndLinesKeepTheirNumbers) {
  const std::vector<ScriptLine> lines = Parsed("# a test\n\n  \t\nscreen\r\n  # indented\nwait 10\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].kind, LineKind::Screen);
  EXPECT_EQ(lines[0].number, 4);
  EXPECT_EQ(lines[1].kind, LineKind::Wait);
  EXPECT_EQ(lines[1].number, 6);
  EXPECT_EQ(lines[1].milliseconds, 10);
  EXPECT_EQ(lines[1].source, "wait 10");
}

TEST(Script, CrLfLfAndACrAloneEachEndALine) {
  const std::vector<ScriptLine> lines = Parsed("wait 1\rwait 2\r\nwait 3\nwait 4\r\r\nscreen");
  ASSERT_EQ(lines.size(), 5u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(lines[std::size_t(i)].milliseconds, i + 1);
  EXPECT_EQ(lines[3].number, 4);
  EXPECT_EQ(lines[4].number, 6);
  EXPECT_EQ(Fault("screen\rscreen\rkey Hyper_L\n"), "line 3: no key is named \"Hyper_L\"");
}

TEST(Script, AByteOrderMarkAtTheStartIsSkipped) {
  EXPECT_EQ(One("\xEF\xBB\xBFscreen\n").kind, LineKind::Screen);
  EXPECT_EQ(Fault("screen\n\xEF\xBB\xBFscreen\n"), "line 2: unknown line \"\xEF\xBB\xBFscreen\"");
}

TEST(Script, ANulByteIsAFault) {
  EXPECT_EQ(Fault(std::string("screen\nexpect a\0b\n", 18)), "line 2: the line holds a NUL byte");
  EXPECT_EQ(Fault(std::string("text a\0b\n", 9)), "line 1: the line holds a NUL byte");
  EXPECT_EQ(Fault(std::string("# \0\n", 4)), "line 1: the line holds a NUL byte");
}

TEST(Script, KeysBecomeTheirEvents) {
  const ScriptLine line = One("key shift+a");
  EXPECT_EQ(line.kind, LineKind::Key);
  EXPECT_EQ(line.keys.size(), 4u);
  EXPECT_NE(Fault("key\n").find("key needs one key name"), std::string::npos);
  EXPECT_NE(Fault("key a b\n").find("key needs one key name"), std::string::npos);
  EXPECT_EQ(Fault("screen\nkey Hyper_L\n"), "line 2: no key is named \"Hyper_L\"");
}

TEST(Script, TextIsSentInCodePage932) {
  const ScriptLine line = One("text あA　ｶ");
  EXPECT_EQ(line.kind, LineKind::Text);
  EXPECT_EQ(std::string(line.bytes.begin(), line.bytes.end()), "\x82\xA0" "A" "\x81\x40" "\xB6");
  EXPECT_EQ(Fault("text 😀\n"), "line 1: the text holds a character that code page 932 lacks");
  EXPECT_NE(Fault("text\n").find("text needs"), std::string::npos);
}

TEST(Script, SendTakesHexadecimalBytesTogetherOrApart) {
  const ScriptLine line = One("send 41 00 0d0A ff");
  EXPECT_EQ(line.bytes, (std::vector<std::uint8_t>{0x41, 0x00, 0x0D, 0x0A, 0xFF}));
  EXPECT_NE(Fault("send 4\n").find("not \"4\""), std::string::npos);
  EXPECT_NE(Fault("send 0x41\n").find("not \"0x41\""), std::string::npos);
  EXPECT_NE(Fault("send 4g\n").find("not \"4g\""), std::string::npos);
  EXPECT_NE(Fault("send\n").find("send needs"), std::string::npos);
}

TEST(Script, ExpectationsWithTheirLimits) {
  ScriptLine line = One("expect ＯＫ　です");
  EXPECT_EQ(line.kind, LineKind::Expect);
  EXPECT_EQ(line.expectation.kind, ExpectKind::Text);
  EXPECT_EQ(line.expectation.text, "ＯＫ　です");
  EXPECT_EQ(line.expectation.limitMs, 5000);
  line = One("expect done within 250");
  EXPECT_EQ(line.expectation.text, "done");
  EXPECT_EQ(line.expectation.limitMs, 250);
  line = One("expect /Ａ.Ｃ$/ within 0");
  EXPECT_EQ(line.expectation.kind, ExpectKind::Pattern);
  EXPECT_EQ(line.expectation.text, "Ａ.Ｃ$");
  EXPECT_EQ(line.expectation.limitMs, 0);
  line = One("expect-row 12 行 の 文字 within 10");
  EXPECT_EQ(line.expectation.kind, ExpectKind::Row);
  EXPECT_EQ(line.expectation.row, 12);
  EXPECT_EQ(line.expectation.text, "行 の 文字");
  line = One("expect-cursor 3 40");
  EXPECT_EQ(line.expectation.kind, ExpectKind::Cursor);
  EXPECT_EQ(line.expectation.column, 40);
  EXPECT_EQ(One("expect-tab 2 within 9").expectation.tab, 2);
}

// "within" near the end always starts the limit, on every expect line, so
// that a malformed limit cannot become part of the text and fail 5 s later.
TEST(Script, AWithinWithoutMillisecondsIsAFaultOnEveryExpectLine) {
  for (const std::string line : {"expect done within -5", "expect done within abc", "expect done within +5",
                                 "expect done within 5s", "expect done within", "expect /x/ within 1e3",
                                 "expect-row 3 done within abc", "expect-cursor 1 2 within +5", "expect-tab 1 within"}) {
    EXPECT_EQ(Fault("screen\n" + line + "\n"), "line 2: within takes a limit from 0 to 86400000 ms") << line;
  }
  EXPECT_NE(Fault("expect x within 99999999999\n").find("within takes a limit"), std::string::npos);
  EXPECT_NE(Fault("expect within 5\n").find("expect needs a text"), std::string::npos);
  // Text that ends with "within" and a word has its limit written after it.
  const ScriptLine line = One("expect done within reason within 5000");
  EXPECT_EQ(line.expectation.text, "done within reason");
  EXPECT_EQ(line.expectation.limitMs, 5000);
  EXPECT_EQ(One("expect /within 5/").expectation.text, "within 5");
}

TEST(Script, ExpectationArgumentsOutOfRange) {
  EXPECT_NE(Fault("expect-row 200 x\n").find("expect-row needs a row from 0 to 199"), std::string::npos);
  EXPECT_NE(Fault("expect-cursor 1\n").find("expect-cursor needs"), std::string::npos);
  EXPECT_NE(Fault("expect-cursor 1 101\n").find("expect-cursor needs"), std::string::npos);
  EXPECT_NE(Fault("expect-cursor 1 2 3\n").find("expect-cursor needs"), std::string::npos);
  EXPECT_NE(Fault("expect-tab 3\n").find("expect-tab needs a view"), std::string::npos);
  EXPECT_NE(Fault("expect /a(/\n").find("is not valid"), std::string::npos);
  EXPECT_EQ(Fault("expect //\n"), "line 1: the pattern // is empty");
  EXPECT_EQ(One("expect /").expectation.text, "/");
  // A back-reference cannot be matched in linear time: RE2 has none.
  EXPECT_NE(Fault("expect /(a)\\1/\n").find("is not valid"), std::string::npos);
}

TEST(Script, PicturesWaitsAndBareLines) {
  EXPECT_EQ(One("picture out/screen 1.png").path, "out/screen 1.png");
  EXPECT_NE(Fault("picture\n").find("picture needs"), std::string::npos);
  EXPECT_NE(Fault("wait soon\n").find("wait needs milliseconds"), std::string::npos);
  EXPECT_NE(Fault("wait -1\n").find("wait needs milliseconds"), std::string::npos);
  EXPECT_EQ(Fault("screen now\n"), "line 1: this line takes no arguments");
  EXPECT_EQ(Fault("\n\nexpext x\n"), "line 3: unknown line \"expext\"");
}

TEST(Script, ThePortIsOpenAtTheStartAndFollowsConnectAndDisconnect) {
  const std::vector<ScriptLine> lines = Parsed("disconnect\nexpect x\nconnect\nkey a\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].kind, LineKind::Disconnect);
  EXPECT_EQ(lines[2].kind, LineKind::Connect);
  EXPECT_EQ(Fault("connect\n"), "line 1: connect: the port is open already");
  EXPECT_EQ(Fault("disconnect\n\ndisconnect\n"), "line 3: disconnect: the port was closed at line 1");
  EXPECT_EQ(Fault("disconnect\ntext あ\n"), "line 2: nothing can be sent: the port was closed at line 1");
  EXPECT_EQ(Fault("disconnect\nsend 00\n"), "line 2: nothing can be sent: the port was closed at line 1");
}

TEST(Script, AScriptMustBeUtf8) {
  EXPECT_EQ(Fault("screen\nexpect \x82\xA0\n"), "line 2: the line is not UTF-8");
  EXPECT_EQ(Fault("# \xFF\n"), "line 1: the line is not UTF-8");
  EXPECT_EQ(Fault("# \xC0\xAF overlong\n"), "line 1: the line is not UTF-8");
  EXPECT_EQ(Fault("# \xED\xA0\x80 surrogate\n"), "line 1: the line is not UTF-8");
  EXPECT_EQ(Fault("# \xF4\x90\x80\x80 beyond U+10FFFF\n"), "line 1: the line is not UTF-8");
  EXPECT_EQ(Fault("# cut \xE3\x81"), "line 1: the line is not UTF-8");
  EXPECT_EQ(Parsed("# \xF0\x9F\x98\x80 \xEF\xBF\xBF\nscreen\n").size(), 1u);
}

// A script of /dev/zero, or one endless line, is a fault within bounds, not
// all the memory of the machine.
TEST(Script, AScriptAndItsLinesHaveTheirBounds) {
  const std::string longest = "# " + std::string(LongestLineBytes - 2, 'x');
  EXPECT_TRUE(Parsed(longest + "\r\n").empty());
  EXPECT_EQ(Fault("screen\n" + longest + "x\n"), "line 2: the line is longer than 4096 bytes");
  const ScratchDir dir;
  const std::string path = dir.File("large.script");
  std::ofstream(path, std::ios::binary) << std::string(LongestScriptBytes, '\n');
  std::string text;
  std::string error;
  EXPECT_TRUE(ReadScriptFile(path, text, error)) << error;
  EXPECT_EQ(text.size(), LongestScriptBytes);
  std::ofstream(path, std::ios::binary | std::ios::app) << "\n";
  text.clear();
  EXPECT_FALSE(ReadScriptFile(path, text, error));
  EXPECT_EQ(error, path + ": the script is larger than 1048576 bytes");
}

}  // namespace
