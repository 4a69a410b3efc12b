#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>

#include "ModemLineSpy.h"
#include "PlatformSeam.h"
#include "PosixSerialPlatform.h"
#include "RSCOM.h"

namespace {

using Calls = std::vector<std::string>;

// A pseudo-terminal whose slave stands for COM1; the test plays the board
// on the master side.
class PtyPort : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[256] = {};
    ASSERT_EQ(openpty(&master_, &slave_, name, nullptr, nullptr), 0);
    slavePath_ = name;
    platform_ = std::make_unique<serial::PosixSerialPlatform>(
        [this](const std::string& port) { return port == "COM1" ? slavePath_ : std::string(); });
    serial::UsePlatform(platform_.get());
    ModemLineCalls().clear();
  }
  void TearDown() override {
    ClosePort();
    serial::UsePlatform(nullptr);
    if (master_ >= 0) close(master_);
    close(slave_);
  }

  void BoardSends(std::uint8_t byte) { ASSERT_EQ(write(master_, &byte, 1), 1); }
  int BoardReceives() {
    pollfd entry{master_, POLLIN, 0};
    if (poll(&entry, 1, 1000) != 1) return -1;
    std::uint8_t byte = 0;
    return read(master_, &byte, 1) == 1 ? byte : -1;
  }
  static double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }

  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
  std::unique_ptr<serial::PosixSerialPlatform> platform_;
};

TEST_F(PtyPort, EveryByteValuePassesUnchangedBothWays) {
  ASSERT_TRUE(OpenPort("COM1:9600,N,8,2"));
  for (int value = 0; value < 256; ++value) {
    BoardSends(static_cast<std::uint8_t>(value));
    ASSERT_EQ(ReadByte(), value);
    WriteByte(value);
    ASSERT_EQ(BoardReceives(), value);
  }
}

TEST_F(PtyPort, QueuedBytesComeBackWithoutWaitingOutTheTimeout) {
  ASSERT_TRUE(OpenPort("COM1:9600,N,8,2"));
  for (std::uint8_t byte : {0x0D, 0x0A, 0x11, 0x13}) BoardSends(byte);
  const auto start = std::chrono::steady_clock::now();
  for (int expected : {0x0D, 0x0A, 0x11, 0x13}) EXPECT_EQ(ReadByte(), expected);
  EXPECT_LT(MsSince(start), 11.0) << "line-end and XON/XOFF bytes are data, read at once";
}

TEST_F(PtyPort, SilentLineGivesMinusOneAfterTheFullTimeout) {
  ASSERT_TRUE(OpenPort("COM1:9600,N,8,2"));
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadByte(), -1);
    EXPECT_GE(MsSince(start), 11.0);
  }
}

TEST_F(PtyPort, HungUpLineGivesMinusOne) {
  ASSERT_TRUE(OpenPort("COM1:9600,N,8,2"));
  BoardSends(0x42);
  EXPECT_EQ(ReadByte(), 0x42);
  close(master_);
  master_ = -1;
  EXPECT_EQ(ReadByte(), -1);
  EXPECT_EQ(ReadByte(), -1);
  WriteByte(0x42);
}

TEST_F(PtyPort, PortHeldByOneProgramIsRefusedToAnother) {
  ASSERT_TRUE(OpenPort("COM1:9600,N,8,2"));
  serial::PosixSerialPlatform otherProgram(
      [this](const std::string&) { return slavePath_; });
  EXPECT_EQ(otherProgram.Open("COM1"), serial::kInvalidHandle);
  EXPECT_EQ(otherProgram.LastOpenFailure(), serial::OpenFailure::InUse);
  ClosePort();

  const int terminal = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(flock(terminal, LOCK_EX | LOCK_NB), 0);
  EXPECT_FALSE(OpenPort("COM1:9600,N,8,2"));
  EXPECT_EQ(LastOpenFailure(), serial::OpenFailure::InUse);
  EXPECT_EQ(serial::CurrentPortHandle(), serial::kInvalidHandle);
  close(terminal);
  EXPECT_TRUE(OpenPort("COM1:9600,N,8,2"));
}

TEST_F(PtyPort, ExclusiveUseEndsWithTheClose) {
  int exclusive = -1;
  ASSERT_TRUE(OpenPort("COM1:9600,N,8,2"));
  ASSERT_EQ(ioctl(slave_, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 1);
  ClosePort();
  ASSERT_EQ(ioctl(slave_, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0) << "a pseudo-terminal would keep other users out after we are gone";
}

TEST_F(PtyPort, MissingDeviceFails) {
  EXPECT_FALSE(OpenPort("COM2:9600,N,8,2"));
  EXPECT_EQ(LastOpenFailure(), serial::OpenFailure::NoDevice);
  EXPECT_EQ(ReadByte(), -1);
}

TEST_F(PtyPort, LinesAreDroppedAfterOpenAndAfterTheSettings) {
  ASSERT_TRUE(OpenPort("COM1:9600,N,8,2"));
  EXPECT_EQ(ModemLineCalls(), (Calls{"drop DTR RTS", "drop DTR RTS"}));
  ModemLineCalls().clear();
  SetDTR(1);
  SetRTS(7);
  SetRTS(0);
  SetDTR(0);
  EXPECT_EQ(ModemLineCalls(), (Calls{"raise DTR", "raise RTS", "drop RTS", "drop DTR"}));
}

TEST_F(PtyPort, SettingsAreRawEightBitsWithoutFlowControl) {
  ASSERT_TRUE(OpenPort("COM1:19200,N,8,2"));
  termios attributes{};
  ASSERT_EQ(tcgetattr(slave_, &attributes), 0);
  EXPECT_EQ(cfgetospeed(&attributes), B19200);
  EXPECT_EQ(attributes.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD),
            tcflag_t{CS8 | CSTOPB | CLOCAL | CREAD});
  EXPECT_EQ(attributes.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
  EXPECT_EQ(attributes.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  EXPECT_EQ(attributes.c_oflag & OPOST, 0u);
}

TEST_F(PtyPort, UnsupportedBaudIsRefusedAndThePortKeepsWhatItHad) {
  termios before{};
  ASSERT_EQ(tcgetattr(slave_, &before), 0);
  EXPECT_FALSE(OpenPort("COM1:12345,N,8,2"));
  EXPECT_NE(serial::CurrentPortHandle(), serial::kInvalidHandle);
  termios after{};
  ASSERT_EQ(tcgetattr(slave_, &after), 0);
  EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  BoardSends('x');
  BoardSends('\n');
  EXPECT_EQ(ReadByte(), 'x') << "still open, time-outs in place";
}

}  // namespace
