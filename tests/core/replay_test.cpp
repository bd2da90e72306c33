// talvorix-replay run as a program on files of received words.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "terminal/link/log_format.h"
#include "tests/core/terminal_fixture.h"
#include "tests/png_picture.h"
#include "tests/scratch_dir.h"

namespace {

struct ReplayRun {
  int exitCode;
  std::string output;
};

// The files of every test of this process, in one folder of its own.
std::string TempPath(const std::string& name) {
  static const ScratchDir dir;
  return dir.File(name);
}

std::string WriteInput(const std::string& name, const std::vector<std::uint16_t>& words) {
  const std::string path = TempPath(name);
  const std::vector<std::uint8_t> bytes = Bytes(words);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

ReplayRun Replay(const std::string& arguments) {
  const std::string command = std::string(TALVORIX_REPLAY) + " " + arguments + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  ReplayRun run{-1, {}};
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::vector<std::uint16_t> CsiOf(const std::string& text) { return Join({{Csi}, Jis(text)}); }

TEST(Replay, PrintsEventsScreenCursorAndStyle) {
  const std::string input = WriteInput(
      "basic", Join({Jis("こんにちは　世界　"), {Cr, Lf, 0x0007}, CsiOf("３１；４４ｍ"), Jis("赤"),
                     {0x0041, 0x00B1}, CsiOf("２面"), CsiOf("９Ｊ")}));
  const ReplayRun run = Replay(input);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 4u + 1 + 200 + 2);
  EXPECT_EQ(lines[0], "beep");
  EXPECT_EQ(lines[1], "tab 2");
  EXPECT_EQ(lines[2].rfind("message デバッグデータ内容|00000000  009B 2339 234A ", 0), 0u);
  EXPECT_EQ(lines[3], "message 通信ターミナル|ＣＳＩシーケンス実行出来ない！！");
  EXPECT_EQ(lines[4], "screen");
  EXPECT_EQ(lines[5], "こんにちは　世界");
  EXPECT_EQ(lines[6], "赤A.ｱ.");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[205], "cursor 1 6");
  EXPECT_EQ(lines[206], "style 0000FF FF0000 01");
}

TEST(Replay, NewLineAndNoWrapOptions) {
  const std::string input = WriteInput("options", Join({CsiOf("０；９８Ｈ"), Jis("ＡＢ"), {Cr}, Jis("Ｃ")}));
  const std::vector<std::string> wrapped = Lines(Replay("--newline " + input).output);
  EXPECT_EQ(wrapped[1].substr(wrapped[1].size() - 3), "Ａ");
  EXPECT_EQ(wrapped[3], "Ｂ");  // the wrap's CR and LF each went down a row
  EXPECT_EQ(wrapped[4], "Ｃ");
  EXPECT_EQ(wrapped.back(), "style 000000 FFFFFF 01");
  EXPECT_EQ(wrapped[wrapped.size() - 2], "cursor 3 2");
  const std::vector<std::string> unwrapped = Lines(Replay("--no-wrap " + input).output);
  EXPECT_EQ(unwrapped[1].substr(0, 3), "Ｃ");
  EXPECT_EQ(unwrapped[1].substr(unwrapped[1].size() - 3), "Ｂ");  // Ｂ overwrote Ａ
  EXPECT_EQ(unwrapped[unwrapped.size() - 2], "cursor 0 2");
}

TEST(Replay, PointPlotReadsPastThePumpBlockAndWritesThePlane) {
  // ESC 点 in the middle of a block enters point-plot mode there: the words
  // after it are the mode's, up to EOT.
  const std::string input = WriteInput(
      "plot", Join({Jis("Ａ"), CsiOf("３２ｍ"), {Esc, 0x4540}, Jis("１０；２０"), {Cr},
                    Jis("４；５"), {Cr, 0x0004}, Jis("Ｂ")}));
  const std::string png = TempPath("plot.png");
  std::remove(png.c_str());
  const ReplayRun run = Replay("--graphic " + png + " " + input);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::vector<std::string> lines = Lines(run.output);
  const std::vector<std::string> events(lines.begin(), lines.begin() + 4);
  EXPECT_EQ(events, (std::vector<std::string>{"sent 06", "sent 00", "sent 06", "sent 00"}));
  EXPECT_EQ(lines[5], "ＡＢ");  // the block after EOT is interpreted again

  const Picture plane = ReadPng(png);
  ASSERT_EQ(plane.width, 640);
  ASSERT_EQ(plane.height, 480);
  EXPECT_EQ(plane.At(10, 20), (Rgb{0, 255, 0}));
  EXPECT_EQ(plane.At(4, 5), (Rgb{0, 255, 0}));
  EXPECT_EQ(plane.At(0, 0), White);
}

TEST(Replay, LocalEchoShowsWhatTheTerminalAnswers) {
  // Each ACK the terminal sends comes back at once as the word 0x0006, shown as "？".
  const std::string input =
      WriteInput("echo", Join({Jis("Ａ"), {Esc, 0x4540}, Jis("１；２"), {Cr, 0x0004}, Jis("Ｂ")}));
  const std::vector<std::string> echoed = Lines(Replay("--local-echo " + input).output);
  ASSERT_GE(echoed.size(), 6u);
  EXPECT_EQ(echoed[0], "sent 06");
  EXPECT_EQ(echoed[5], "Ａ？？Ｂ");
  const std::vector<std::string> plain = Lines(Replay(input).output);
  EXPECT_EQ(plain[5], "ＡＢ");
}

// The text screen's cell in IPAGothic at the default height, as under Wine.
constexpr int CellWidth = 7;
constexpr int CellHeight = 14;

// How many pixels of each colour lie in `cells` byte cells of a screen row.
std::map<Rgb, int> CellColours(const Picture& picture, int row, int col, int cells) {
  std::map<Rgb, int> colours;
  for (int y = row * CellHeight; y < (row + 1) * CellHeight; ++y) {
    for (int x = col * CellWidth; x < (col + cells) * CellWidth; ++x) ++colours[picture.At(x, y)];
  }
  return colours;
}

// How many pixel rows of those cells are `colour` from edge to edge.
int SolidLines(const Picture& picture, int row, int col, int cells, const Rgb& colour) {
  int lines = 0;
  for (int y = row * CellHeight; y < (row + 1) * CellHeight; ++y) {
    bool solid = true;
    for (int x = col * CellWidth; x < (col + cells) * CellWidth; ++x) solid = solid && picture.At(x, y) == colour;
    lines += solid ? 1 : 0;
  }
  return lines;
}

std::set<Rgb> Keys(const std::map<Rgb, int>& colours) {
  std::set<Rgb> keys;
  for (const auto& entry : colours) keys.insert(entry.first);
  return keys;
}

// Row 0: plain, red on blue, bold, underlined and reversed pairs of
// characters; row 1: the bold and underlined ones plain; row 2 ends at the cursor.
std::string StyledInput() {
  return WriteInput("styled", Join({Jis("通常"), CsiOf("３１；４４ｍ"), Jis("赤青"), CsiOf("３０；４７ｍ"),
                                    CsiOf("１ｍ"), Jis("太字"), CsiOf("２２ｍ"), CsiOf("４ｍ"), Jis("下線"),
                                    CsiOf("２４ｍ"), CsiOf("７ｍ"), Jis("反転"), CsiOf("２７ｍ"), {Cr, Lf},
                                    Jis("太字下線"), {Cr, Lf}, Jis("カーソル")}));
}

TEST(Replay, PictureShowsColoursStylesAndCaretAtTheirCells) {
  const std::string png = TempPath("styled.png");
  const ReplayRun run = Replay("--picture " + png + " " + StyledInput());
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const Picture picture = ReadPng(png);
  ASSERT_EQ(picture.width, 100 * CellWidth);
  ASSERT_EQ(picture.height, 200 * CellHeight);
  const Rgb red{255, 0, 0};
  const Rgb blue{0, 0, 255};
  EXPECT_EQ(Keys(CellColours(picture, 0, 0, 4)), (std::set<Rgb>{Black, White}));
  EXPECT_EQ(Keys(CellColours(picture, 0, 4, 4)), (std::set<Rgb>{red, blue}));
  EXPECT_GT(CellColours(picture, 0, 8, 4)[Black], CellColours(picture, 1, 0, 4)[Black]);  // bold
  EXPECT_GE(SolidLines(picture, 0, 12, 4, Black), 1);  // the underline runs under both characters
  EXPECT_EQ(SolidLines(picture, 1, 4, 4, Black), 0);
  std::map<Rgb, int> reversed = CellColours(picture, 0, 16, 4);
  EXPECT_EQ(Keys(reversed), (std::set<Rgb>{Black, White}));
  EXPECT_GT(reversed[Black], reversed[White]);  // white glyphs on black
  EXPECT_EQ(CellColours(picture, 2, 8, 1), (std::map<Rgb, int>{{Black, CellWidth * CellHeight}}));
  EXPECT_EQ(CellColours(picture, 2, 9, 1), (std::map<Rgb, int>{{White, CellWidth * CellHeight}}));
  EXPECT_EQ(Keys(CellColours(picture, 2, 20, 80)), (std::set<Rgb>{White}));
}

TEST(Replay, PictureOfARangeOfRows) {
  const std::string input = StyledInput();
  const std::string whole = TempPath("whole.png");
  const std::string part = TempPath("part.png");
  ASSERT_EQ(Replay("--picture " + whole + " " + input).exitCode, 0);
  ASSERT_EQ(Replay("--rows=1-2 --picture=" + part + " " + input).exitCode, 0);
  const Picture wholePicture = ReadPng(whole);
  const Picture partPicture = ReadPng(part);
  ASSERT_EQ(partPicture.width, 100 * CellWidth);
  ASSERT_EQ(partPicture.height, 2 * CellHeight);
  const auto band = wholePicture.pixels.begin() + std::ptrdiff_t(CellHeight) * wholePicture.width * 3;
  EXPECT_TRUE(std::equal(partPicture.pixels.begin(), partPicture.pixels.end(), band));
}

TEST(Replay, RowsOutsideTheScreenOrWithoutAPictureAreRefused) {
  const std::string input = StyledInput();
  const std::string png = TempPath("refused.png");
  for (const std::string rows : {"2-1", "0-200", "-1-3", "3", "1-2x"}) {
    const ReplayRun run = Replay("--picture " + png + " --rows " + rows + " " + input);
    EXPECT_EQ(run.exitCode, 2) << rows;
    EXPECT_NE(run.output.find("usage:"), std::string::npos) << rows;
  }
  EXPECT_EQ(Replay("--rows 0-3 " + input).exitCode, 2);
  EXPECT_EQ(Replay("--picture " + png + " --rows 199-199 " + input).exitCode, 0);
}

// One line naming the argument and what is wrong with it, then the usage.
TEST(Replay, WrongArgumentsAreNamedBeforeTheUsage) {
  const std::string input = StyledInput();
  const std::string png = TempPath("named.png");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--picture=" + png + " --rows 5-2 " + input, "--rows 5-2: the first row is after the last"},
      {"--picture " + png + " --rows=0-200 " + input, "--rows=0-200: not FIRST-LAST with rows from 0 to 199"},
      {"--log " + input + " --session 0", "--session 0: not a number from 1 to 1000000000"},
      {"--picture '' " + input, "--picture '': no file name"},
      {"--log= --session 1", "--log=: no file name"},
      {"--rows 0-3 " + input, "--rows: only with --picture"},
      {input + " --log " + input, "--log " + input + ": a second input"},
      {"--until 1 " + input, "--until: only with --trace"},
      {"--trace " + input + " --until 1.2345", "--until 1.2345: not a number of seconds with at most three decimals"},
      {"--bogus x", "--bogus: unknown option"}};
  for (const auto& [arguments, message] : cases) {
    const ReplayRun run = Replay(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_EQ(run.output.rfind("talvorix-replay: " + message + "\nusage: talvorix-replay", 0), 0u) << run.output;
  }
}

std::string WriteFile(const std::string& name, const std::string& bytes);

// A point-plot run whose last answer the trace has as NAK, where the
// terminal answers EOT with ACK: the replay says where the two part, and
// until then they agree.
TEST(Replay, TraceChecksWhatTheTerminalSentAndStopsWhereAsked) {
  const std::string trace = WriteFile("answers.trace",
                                      "# talvorix trace 1\n"
                                      "2026-12-09 10:00:00.000000 +0ms start\n"
                                      "2026-12-09 10:00:00.010000 +10ms received 001B 4540 | ESC 点\n"
                                      "2026-12-09 10:00:00.010100 +10ms sent 0006\n"
                                      "2026-12-09 10:00:00.020000 +20ms received 2331 2128 2331 000D | １ ； １ CR\n"
                                      "2026-12-09 10:00:00.030000 +30ms received 0004 | EOT\n"
                                      "2026-12-09 10:00:00.030100 +30ms sent 0015\n"
                                      "2026-12-09 10:00:00.040000 +40ms received 2341 | Ａ\n");
  const ReplayRun whole = Replay("--trace " + trace);
  EXPECT_EQ(whole.exitCode, 3) << whole.output;
  EXPECT_NE(whole.output.find("screen\nＡ\n"), std::string::npos) << whole.output;
  EXPECT_NE(whole.output.find("talvorix-replay: sent byte 3: the trace has 15 at +30ms, the replay sent 06\n"),
            std::string::npos)
      << whole.output;
  const ReplayRun until = Replay("--trace " + trace + " --until 0.025");
  EXPECT_EQ(until.exitCode, 0) << until.output;
  EXPECT_EQ(until.output.rfind("sent 06\nsent 00\nscreen\n\n", 0), 0u) << until.output;
}

std::string Text(const std::vector<std::uint16_t>& words) {
  const std::vector<std::uint8_t> bytes = Bytes(words);
  return std::string(bytes.begin(), bytes.end());
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
  const std::string path = TempPath(name);
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  return path;
}

// Three program runs: the first connection ends with its end stamp; the
// second run ends without one, so the third run's header ends its data; the
// third connection is still open. The first session's data holds a start
// stamp cut across its words, which is data and no fourth session.
std::string ThreeSessionLog() {
  const std::string time = LogTimeText(LogClock{2026, 12, 6, 0, 15, 20, 17});
  const std::string start = StampLine(StampKind::Start, time);
  return WriteFile("Talvorix.log",
                   HeaderLine(time) + start + Text(Jis("一回目")) + "\x21" + start +
                       StampLine(StampKind::End, time) + HeaderLine(time) + start + Text(Jis("二回目")) +
                       HeaderLine(time) + start + Text(Join({Jis("三回目"), {Cr, Lf}, Jis("続き")})));
}

TEST(Replay, LogSessionsReplayBetweenTheirStamps) {
  const std::string log = ThreeSessionLog();
  const std::vector<std::string> first = Lines(Replay("--log " + log + " --session 1").output);
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(first[1].rfind("一回目", 0), 0u) << first[1];  // then the cut stamp's bytes as words
  const std::vector<std::string> second = Lines(Replay("--session 2 --log " + log).output);
  EXPECT_EQ(second[1], "二回目");
  EXPECT_EQ(second[2], "");
  const ReplayRun last = Replay("--log " + log);
  ASSERT_EQ(last.exitCode, 0) << last.output;
  const std::vector<std::string> lines = Lines(last.output);
  EXPECT_EQ(lines[1], "三回目");
  EXPECT_EQ(lines[2], "続き");
  EXPECT_EQ(lines[201], "cursor 1 4");
  EXPECT_EQ(Replay("--session 3 --log " + log).output, last.output);
}

// Two program runs, the second with two connections. The window starts the
// second connection where the first left the cursor, on a blank screen in the
// reset colours; the first connection's beep and its cut sequence, dropped by
// the disconnect, are not reported. The earlier run is not replayed.
TEST(Replay, LogSessionStartsWhereTheEarlierSessionsOfItsRunLeftTheTerminal) {
  const std::string time = LogTimeText(LogClock{2026, 12, 6, 0, 15, 20, 17});
  const std::string start = StampLine(StampKind::Start, time);
  const std::string end = StampLine(StampKind::End, time);
  const std::string earlier = Text(Join({{0x0007}, CsiOf("３１；４４ｍ"), Jis("一回目"), {Cr, Lf}, Jis("続"), {Csi}, Jis("１")}));
  const std::string log =
      WriteFile("two-runs.log", HeaderLine(time) + start + Text(Jis("他")) + end + HeaderLine(time) + start +
                                    earlier + end + start + Text(Jis("二")) + end);
  const ReplayRun run = Replay("--log " + log + " --session 3");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::vector<std::string> lines = Lines(run.output);
  ASSERT_EQ(lines.size(), 1u + 200 + 2);
  EXPECT_EQ(lines[0], "screen");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "　二");
  EXPECT_EQ(lines[201], "cursor 1 4");
  EXPECT_EQ(lines[202], "style 000000 FFFFFF 01");
}

TEST(Replay, LogWithoutTheSessionIsRefused) {
  const ReplayRun run = Replay("--log " + ThreeSessionLog() + " --session 4");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("Talvorix.log has no session 4: it holds 3"), std::string::npos) << run.output;
  const std::string time = LogTimeText(LogClock{2026, 1, 2, 5, 3, 4, 5});
  const ReplayRun empty = Replay("--log " + WriteFile("headers.log", HeaderLine(time) + HeaderLine(time)));
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_NE(empty.output.find("headers.log holds no session"), std::string::npos) << empty.output;
}

TEST(Replay, NotALogOrNoFileIsRefused) {
  const ReplayRun words = Replay("--log " + WriteInput("words.log", Jis("ＡＢ")));
  EXPECT_EQ(words.exitCode, 1);
  EXPECT_NE(words.output.find("words.log is not a talvorix log"), std::string::npos) << words.output;
  const ReplayRun missing = Replay("--log " + TempPath("none.log"));
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find("cannot read " + TempPath("none.log")), std::string::npos) << missing.output;
  EXPECT_EQ(Replay("--session 1 " + WriteInput("plain", Jis("Ａ"))).exitCode, 2);  // a session of a log only
  EXPECT_EQ(Replay("--log " + TempPath("none.log") + " --session 0").exitCode, 2);
}

TEST(Replay, CutSequenceAtTheEndOfTheFileIsReported) {
  const std::string input = WriteInput("cut", Join({Jis("Ｑ"), {Csi}, Jis("１２")}));
  const std::vector<std::string> lines = Lines(Replay(input).output);
  EXPECT_EQ(lines[0], "message 通信ターミナル|受信エラー：ＣＳＩシーケンス実行出来ない！！");
  EXPECT_EQ(lines[2], "Ｑ");
}

TEST(Replay, OddLastByteAndLongInputs) {
  std::vector<std::uint16_t> words;
  for (int line = 0; line < 260; ++line) {
    words.push_back(std::uint16_t(0x2330 + line % 10));
    words.push_back(Cr);
    words.push_back(Lf);
  }
  const std::string input = WriteInput("long", words);
  std::ofstream(input, std::ios::binary | std::ios::app).put('\x41');
  const std::vector<std::string> lines = Lines(Replay(input).output);
  EXPECT_EQ(lines[1], "１");  // 260 line feeds scroll 61 times: line 61 is on top
  EXPECT_EQ(lines[199], "９");
  EXPECT_EQ(lines[200], "");
  EXPECT_EQ(lines[201], "cursor 199 0");
}

TEST(Replay, MissingInputFails) {
  const ReplayRun run = Replay(TempPath("does-not-exist"));
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.output.find("cannot read"), std::string::npos);
  EXPECT_NE(Replay("").exitCode, 0);
  EXPECT_NE(Replay("--bogus x").exitCode, 0);
}

TEST(Replay, FolderAsInputFailsLikeAMissingFile) {
  const ReplayRun run = Replay(::testing::TempDir());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("cannot read"), std::string::npos) << run.output;
}

}  // namespace
