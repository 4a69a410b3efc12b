#include "PortNames.h"

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace serial {
namespace {

// Numbers n of the entries of dir named prefix followed by n.
std::vector<long> NumberedEntries(const std::string& dir, const std::string& prefix) {
  std::vector<long> numbers;
  DIR* stream = opendir(dir.c_str());
  if (stream == nullptr) return numbers;
  while (const dirent* entry = readdir(stream)) {
    const std::string name = entry->d_name;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
    numbers.push_back(std::stol(digits));
  }
  closedir(stream);
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

std::string FirstLine(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  return line;
}

std::set<std::string> ConsoleTtys(const std::string& root) {
  std::istringstream words(FirstLine(root + "/sys/class/tty/console/active"));
  return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

// The kernel makes ttyS nodes for every possible UART; type 0 means no chip.
bool HasUart(const std::string& root, const std::string& name) {
  const std::string type = FirstLine(root + "/sys/class/tty/" + name + "/type");
  return !type.empty() && type.find_first_not_of("0123456789") == std::string::npos &&
         std::stol(type) != 0;
}

}  // namespace

std::vector<std::string> SerialDevices(const std::string& root) {
  const std::string dev = root + "/dev";
  std::vector<std::string> devices;
  const auto consoles = ConsoleTtys(root);
  for (long n : NumberedEntries(dev, "ttyS")) {
    const std::string name = "ttyS" + std::to_string(n);
    if (HasUart(root, name) && consoles.count(name) == 0) devices.push_back(dev + "/" + name);
  }
  for (const char* prefix : {"ttyUSB", "ttyACM"}) {
    for (long n : NumberedEntries(dev, prefix)) {
      devices.push_back(dev + "/" + prefix + std::to_string(n));
    }
  }
  return devices;
}

std::string ResolvePortName(const std::string& portName, const std::string& root) {
  if (portName.size() != 4 || portName.compare(0, 3, "COM") != 0) return {};
  const char digit = portName[3];
  if (digit < '1' || digit > '9') return {};
  const auto devices = SerialDevices(root);
  const auto index = static_cast<std::size_t>(digit - '1');
  return index < devices.size() ? devices[index] : std::string();
}

}  // namespace serial
