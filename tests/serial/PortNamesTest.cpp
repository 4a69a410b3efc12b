#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PortNames.h"

namespace fs = std::filesystem;
#include "TableRows.h"

namespace {

// A /dev and /sys tree: each entry a device node, "ttyS0=4" also gives the
// UART type the kernel reports; console names the kernel's console.
struct Inventory {
  const char* name;
  std::vector<std::string> entries;
  std::string console;
  std::string com1;
  std::string com2;
};

fs::path MakeTree(const Inventory& inventory) {
  const fs::path root = fs::temp_directory_path() / ("zarn-ports-" + std::to_string(getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "dev");
  fs::create_directories(root / "sys/class/tty/console");
  std::ofstream(root / "sys/class/tty/console/active") << inventory.console << "\n";
  for (const std::string& entry : inventory.entries) {
    const auto equals = entry.find('=');
    const std::string name = entry.substr(0, equals);
    std::ofstream(root / "dev" / name);
    if (equals != std::string::npos) {
      fs::create_directories(root / "sys/class/tty" / name);
      std::ofstream(root / "sys/class/tty" / name / "type") << entry.substr(equals + 1) << "\n";
    }
  }
  return root;
}

class PortNaming : public ::testing::TestWithParam<Inventory> {};

TEST_P(PortNaming, ComNumbersFollowTheDevicesThatExist) {
  const Inventory& inventory = GetParam();
  const fs::path root = MakeTree(inventory);
  const std::string dev = root.string() + "/dev/";
  auto expected = [&](const std::string& name) { return name.empty() ? name : dev + name; };
  EXPECT_EQ(serial::ResolvePortName("COM1", root.string()), expected(inventory.com1));
  EXPECT_EQ(serial::ResolvePortName("COM2", root.string()), expected(inventory.com2));
  EXPECT_EQ(serial::ResolvePortName("COM9", root.string()), "");
  EXPECT_EQ(serial::ResolvePortName("LPT1", root.string()), "");
  fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(
    Inventories, PortNaming,
    ::testing::Values(
        Inventory{"Nothing", {}, "tty0", "", ""},
        Inventory{"PhantomTtySOnly", {"ttyS0=0", "ttyS1=0", "ttyS2=0", "ttyS3=0"}, "tty0", "", ""},
        Inventory{"TtySWithoutSysfs", {"ttyS0", "ttyS1"}, "tty0", "", ""},
        Inventory{"RealTtyS0", {"ttyS0=4", "ttyS1=0", "ttyS2=0"}, "tty0", "ttyS0", ""},
        Inventory{"ConsoleOnTtyS0", {"ttyS0=4", "ttyS1=4"}, "tty0 ttyS0", "ttyS1", ""},
        Inventory{"OneUsbAdapter", {"ttyS0=0", "ttyS1=0", "ttyUSB0"}, "tty0", "ttyUSB0", ""},
        Inventory{"TwoUsbAdaptersByNumber", {"ttyUSB10", "ttyUSB2"}, "tty0", "ttyUSB2", "ttyUSB10"},
        Inventory{"RealTtySBeforeUsb", {"ttyS0=4", "ttyUSB0"}, "tty0", "ttyS0", "ttyUSB0"},
        Inventory{"AcmBoardAfterUsb", {"ttyACM0", "ttyUSB0"}, "tty0", "ttyUSB0", "ttyACM0"},
        Inventory{"AcmBoardAlone", {"ttyACM0", "ttyS0=0"}, "tty0", "ttyACM0", ""},
        Inventory{"LookAlikesIgnored", {"ttyUSB", "ttyUSBx", "ttySx=4", "ttyACM1"}, "", "ttyACM1", ""}),
    RowName);

}  // namespace
