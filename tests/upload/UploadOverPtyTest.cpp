#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "BoardProcess.h"
#include "ModalBoxCatcher.h"
#include "ProgramState.h"
#include "TZarn.h"
#include "TempWorkDir.h"
#include "TimedPlatform.h"

namespace {

TEST(UploadOverPty, ImageArrivesByteForByteWithTheProtocolsPauses) {
  TempWorkDir dir;
  QByteArray image(300, '\0');
  for (int i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 37 + 11);
  ASSERT_TRUE(dir.Write(QStringLiteral("work.bin"), image));
  const std::string link = dir.Path(QStringLiteral("board")).toStdString();
  TimedPlatform line([&](const std::string& port) { return port == "COM2" ? link : std::string(); });
  SelectedPort = 2;
  // Made before the stand-in runs: the start-up probe finds no port and
  // leaves the terminal alone.
  TZarn window;
  ASSERT_EQ(SelectedPort, 2);
  BoardProcess board(ZARN_BOARD_PROGRAM, dir.Path(QStringLiteral("received")).toStdString(),
                     {"--link", link});
  ASSERT_FALSE(board.TerminalPath().empty());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ModalBoxCatcher boxes;
  line.events.clear();
  window.ButtonRun->click();
  const std::vector<BoardProcess::Received> received = board.Stop();

  EXPECT_TRUE(boxes.boxes.empty());
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
  ASSERT_EQ(line.events.size(), expected.size() + 1);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(line.events[i].what, expected[i].first) << "event " << i;
    EXPECT_GE(line.events[i + 1].atMs - line.events[i].atMs, expected[i].second)
        << "after event " << i << ", " << expected[i].first;
  }
  EXPECT_EQ(line.events.back().what, "close");
  EXPECT_GE(received.back().atMs - received.front().atMs, 299 * 5.0) << "as the stand-in saw them";
}

}  // namespace
