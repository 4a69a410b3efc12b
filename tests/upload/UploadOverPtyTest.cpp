#include <gtest/gtest.h>

#include "StandInUpload.h"

namespace {

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
