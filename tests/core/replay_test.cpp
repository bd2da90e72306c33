// talvorix-replay run as a program on files of received words.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/core/terminal_fixture.h"
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
  // ESC 点 in the middle of a block: the device waits for the ACK, so the
  // pump's block ends with the pair and point-plot mode reads what follows.
  const std::string input = WriteInput(
      "plot", Join({Jis("Ａ"), CsiOf("３２ｍ"), {Esc, 0x4540}, Jis("１０；２０"), {Cr},
                    Jis("３；"), {0x2341}, Jis("４；５"), {Cr, 0x0004}, Jis("Ｂ")}));
  const std::string png = TempPath("plot.png");
  std::remove(png.c_str());
  const ReplayRun run = Replay("--graphic " + png + " " + input);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::vector<std::string> lines = Lines(run.output);
  const std::vector<std::string> events(lines.begin(), lines.begin() + 6);
  EXPECT_EQ(events, (std::vector<std::string>{"sent 06", "sent 00", "sent 15", "sent 00", "sent 06",
                                              "sent 00"}));
  EXPECT_EQ(lines[7], "ＡＢ");  // the block after EOT is interpreted again

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, png.c_str()));
  EXPECT_EQ(image.width, 640u);
  EXPECT_EQ(image.height, 480u);
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
  const auto pixel = [&](int x, int y) {
    const png_byte* p = &pixels[(std::size_t(y) * 640 + x) * 3];
    return std::vector<int>{p[0], p[1], p[2]};
  };
  EXPECT_EQ(pixel(10, 20), (std::vector<int>{0, 255, 0}));
  EXPECT_EQ(pixel(4, 5), (std::vector<int>{0, 255, 0}));  // the line started afresh
  EXPECT_EQ(pixel(3, 4), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(pixel(0, 0), (std::vector<int>{255, 255, 255}));
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
