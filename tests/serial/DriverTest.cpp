#include <gtest/gtest.h>

#include "LineDefinition.h"
#include "SerialFakes.h"

using serial::CurrentPortHandle;

namespace {

using Calls = std::vector<std::string>;

TEST(Driver, FailedOpenLeavesTheFailureValueAndEveryRoutineDoesNothing) {
  SerialFakes fakes;
  EXPECT_FALSE(OpenPort("COM1:9600,N,8,2"));
  EXPECT_EQ(CurrentPortHandle(), serial::kInvalidHandle);

  EXPECT_EQ(ReadByte(), -1);
  WriteByte(0x55);
  SetDTR(1);
  SetRTS(1);
  SetPortTimeouts(10);
  EXPECT_TRUE(fakes.port.written.empty());
  EXPECT_EQ(fakes.port.CallsLike({"read", "write", "dtr", "rts", "timeouts"}),
            (Calls{"timeouts refused", "read refused", "write refused", "dtr refused",
                   "rts refused", "timeouts refused"}));

  ClosePort();
  EXPECT_EQ(CurrentPortHandle(), serial::kNoHandle);
  fakes.port.calls.clear();
  fakes.port.present = {"COM1"};
  EXPECT_TRUE(OpenPort("COM1:9600,N,8,2"));
  EXPECT_EQ(fakes.port.calls.front().what, "open COM1") << "nothing was left to close";
}

TEST(Driver, OpenAppliesTheLineDefinitionAndTimeouts) {
  SerialFakes fakes;
  fakes.port.present = {"COM2"};
  EXPECT_TRUE(OpenPort("COM2:19200,N,8,2"));
  EXPECT_EQ(fakes.port.CallsLike({"open", "settings", "timeouts"}),
            (Calls{"open COM2", "settings 19200 N 8 2", "timeouts 1/1/10/10/10"}));
  EXPECT_TRUE(OpenPort("COM2:9600,N,8,2"));
  EXPECT_EQ(fakes.port.CallsLike({"open", "settings", "close"}),
            (Calls{"open COM2", "settings 19200 N 8 2", "close COM2", "open COM2",
                   "settings 9600 N 8 2"}))
      << "the same device for both, the old handle closed first";
  EXPECT_EQ(fakes.port.OpenHandles(), 1u);
}

TEST(Driver, RefusedDefinitionKeepsTheCurrentSettings) {
  SerialFakes fakes;
  fakes.port.present = {"COM1"};
  EXPECT_TRUE(OpenPort("COM1:fast,N,8,2"));
  EXPECT_EQ(fakes.port.CallsLike({"settings"}), (Calls{"settings 4800 E 7 1"}));
}

TEST(Driver, PortThatRefusesTheSettingsStaysOpenWithItsTimeouts) {
  SerialFakes fakes;
  fakes.port.present = {"COM1"};
  fakes.port.refusingSettings = {"COM1"};
  EXPECT_FALSE(OpenPort("COM1:9600,N,8,2"));
  EXPECT_TRUE(fakes.port.IsOpen(CurrentPortHandle()));
  EXPECT_EQ(fakes.port.timeouts.readTotalConstant, 10u);
}

TEST(Driver, ClosePortOnAClosedPortLeavesNone) {
  SerialFakes fakes;
  ClosePort();
  ClosePort();
  EXPECT_EQ(CurrentPortHandle(), serial::kNoHandle);
}

TEST(Driver, LinesFollowAnyNonZeroArgument) {
  SerialFakes fakes;
  fakes.port.present = {"COM1"};
  OpenPort("COM1:9600,N,8,2");
  EXPECT_FALSE(fakes.port.dtr);
  EXPECT_FALSE(fakes.port.rts);
  const struct {
    std::int32_t on;
    bool raised;
  } cases[] = {{1, true}, {0, false}, {2, true}, {0, false}, {-1, true}, {0, false}, {0x100, true}};
  for (const auto& c : cases) {
    SetDTR(c.on);
    EXPECT_EQ(fakes.port.dtr, c.raised) << "SetDTR(" << c.on << ")";
    SetRTS(c.on);
    EXPECT_EQ(fakes.port.rts, c.raised) << "SetRTS(" << c.on << ")";
  }
}

TEST(Driver, BytesInAndOut) {
  SerialFakes fakes;
  fakes.port.present = {"COM1"};
  OpenPort("COM1:9600,N,8,2");
  fakes.port.answers = {0x00, 0xFF, 0x7F};
  EXPECT_EQ(ReadByte(), 0);
  EXPECT_EQ(ReadByte(), 255) << "0xFF is a byte, never the time-out";
  EXPECT_EQ(ReadByte(), 127);
  EXPECT_EQ(ReadByte(), -1);
  WriteByte(0x1FF);
  WriteByte(-1);
  WriteByte(0x41);
  EXPECT_EQ(fakes.port.written, (std::vector<std::uint8_t>{0xFF, 0xFF, 0x41}));
}

TEST(LineDefinition, ParsesTheModeStringsAndRefusesOthers) {
  const struct {
    const char* mode;
    bool accepted;
    std::uint32_t baud;
    char parity;
    int dataBits;
    serial::StopBits stop;
  } cases[] = {
      {"COM1:9600,N,8,2", true, 9600, 'N', 8, serial::StopBits::Two},
      {"COM2:19200,N,8,2", true, 19200, 'N', 8, serial::StopBits::Two},
      {"COM1: 2400 , e , 7 , 1", true, 2400, 'E', 7, serial::StopBits::One},
      {"COM1:1200,O,5,1.5", true, 1200, 'O', 5, serial::StopBits::OnePointFive},
      {"COM1:300", true, 300, 'X', 6, serial::StopBits::One},
      {"COM1", false, 0, 'X', 6, serial::StopBits::One},
      {"COM1:", false, 0, 'X', 6, serial::StopBits::One},
      {"COM1:9600,Q,8,2", false, 0, 'X', 6, serial::StopBits::One},
      {"COM1:9600,N,9,2", false, 0, 'X', 6, serial::StopBits::One},
      {"COM1:9600,N,8,3", false, 0, 'X', 6, serial::StopBits::One},
      {"COM1:0,N,8,2", false, 0, 'X', 6, serial::StopBits::One},
      {"COM1:9600,N,8,2,1", false, 0, 'X', 6, serial::StopBits::One},
  };
  for (const auto& c : cases) {
    serial::LineSettings settings{0, 'X', 6, serial::StopBits::One};
    EXPECT_EQ(serial::ApplyLineDefinition(c.mode, settings), c.accepted) << c.mode;
    EXPECT_EQ(settings.baudRate, c.baud) << c.mode;
    EXPECT_EQ(settings.parity, c.parity) << c.mode;
    EXPECT_EQ(settings.dataBits, c.dataBits) << c.mode;
    EXPECT_EQ(settings.stopBits, c.stop) << c.mode;
  }
}

}  // namespace
