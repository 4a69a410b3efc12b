#include <gtest/gtest.h>

#include <chrono>

#include "RSCOM.h"
#include "StandInUpload.h"
#include "TableRows.h"

namespace {

struct StandInCase {
  const char* name;
  std::vector<std::string> options;
  const char* script;  // r: take an answer, w: send the next byte
  std::vector<int> answers;
};
void PrintTo(const StandInCase& row, std::ostream* out) { *out << row.name; }

class StandIn : public ::testing::TestWithParam<StandInCase> {};

// The next answer, or -1 when none came within 300 ms: long enough for a
// stand-in that is slow to be scheduled.
int Answer() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
  int answer = -1;
  while (answer < 0 && std::chrono::steady_clock::now() < deadline) answer = ReadByte();
  return answer;
}

TEST_P(StandIn, AnswersBeforeEveryByteAsToldAndRecordsWhatCame) {
  const StandInCase& c = GetParam();
  TempWorkDir dir;
  const std::string link = dir.Path(QStringLiteral("board")).toStdString();
  TimedPlatform line([&](const std::string&) { return link; });
  std::vector<std::string> options = c.options;
  options.insert(options.end(), {"--link", link});
  BoardProcess board(ZARN_BOARD_PROGRAM, dir.Path(QStringLiteral("received")).toStdString(), options);
  ASSERT_FALSE(board.TerminalPath().empty());
  ASSERT_TRUE(OpenPort("COM1:9600,N,8,2"));
  std::vector<int> answers;
  std::vector<std::uint8_t> sent;
  for (const char* step = c.script; *step != '\0'; ++step) {
    if (*step == 'r') answers.push_back(Answer());
    if (*step == 'w') {
      sent.push_back(static_cast<std::uint8_t>(0xA0 + sent.size()));
      WriteByte(sent.back());
    }
  }
  ClosePort();
  EXPECT_EQ(answers, c.answers);
  std::vector<std::uint8_t> received;
  for (const auto& entry : board.Stop()) received.push_back(entry.byte);
  EXPECT_EQ(received, sent);
}

INSTANTIATE_TEST_SUITE_P(
    Options, StandIn,
    ::testing::Values(
        StandInCase{"Prompt", {}, "rwrwr", {0x06, 0x06, 0x06}},
        StandInCase{"AnswerByte", {"--answer", "FF"}, "rwr", {0xFF, 0xFF}},
        StandInCase{"StopAtOnce", {"--stop-after", "0"}, "rwr", {0x00, -1}},
        StandInCase{"StopAfterTwoBytes", {"--stop-after", "2"}, "rwrwrwr", {0x06, 0x06, 0x00, -1}},
        StandInCase{"ThreeAhead", {"--ahead", "3"}, "rrrrwr", {0x06, 0x06, 0x06, -1, 0x06}},
        StandInCase{"Silent", {"--silent"}, "rwr", {-1, -1}}),
    RowName);

TEST(UploadOverPty, ImageArrivesByteForByteWithTheProtocolsPauses) {
  const QByteArray image = SpreadImage(300);
  StandInUpload upload(ZARN_BOARD_PROGRAM, image, {});
  ASSERT_TRUE(upload.Ready());
  const std::vector<BoardProcess::Received> received = upload.Run();

  EXPECT_TRUE(upload.Boxes().empty());
  ASSERT_EQ(received.size(), 300u);
  for (int i = 0; i < image.size(); ++i) {
    ASSERT_EQ(received[i].byte, static_cast<std::uint8_t>(image[i])) << "byte " << i;
  }

  // What the program put on the line, each with the least pause before the
  // next. The stand-in's own times carry its wake-up delays, so the pauses
  // are taken where the bytes go out.
  std::vector<std::pair<std::string, double>> expected = {
      {"open", 0}, {"rts 1", 10}, {"dtr 1", 100}, {"rts 0", 400}};
  for (int i = 0; i < 299; ++i) expected.emplace_back("write", 5);
  expected.insert(expected.end(), {{"write", 15}, {"rts 1", 100}, {"dtr 0", 100}, {"rts 0", 100}});
  const auto& events = upload.Line().events;
  ASSERT_EQ(events.size(), expected.size() + 1);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(events[i].what, expected[i].first) << "event " << i;
    EXPECT_GE(events[i + 1].atMs - events[i].atMs, expected[i].second)
        << "after event " << i << ", " << expected[i].first;
  }
  EXPECT_EQ(events.back().what, "close");
  EXPECT_GE(received.back().atMs - received.front().atMs, 299 * 5.0) << "as the stand-in saw them";
}

}  // namespace
