#include "LineDefinition.h"

#include <cctype>
#include <string>
#include <vector>

namespace serial {
namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields;
  std::string::size_type start = 0;
  for (;;) {
    const auto comma = text.find(',', start);
    fields.push_back(Trimmed(text.substr(start, comma - start)));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

bool ParseNumber(const std::string& field, unsigned long max, unsigned long& value) {
  if (field.empty() || field.size() > 9) return false;
  value = 0;
  for (char c : field) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + static_cast<unsigned long>(c - '0');
  }
  return value > 0 && value <= max;
}

bool ParseParity(const std::string& field, char& parity) {
  if (field.size() != 1) return false;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(field[0])));
  if (std::string("NEOMS").find(letter) == std::string::npos) return false;
  parity = letter;
  return true;
}

bool ParseStopBits(const std::string& field, StopBits& stopBits) {
  if (field == "1") stopBits = StopBits::One;
  else if (field == "1.5") stopBits = StopBits::OnePointFive;
  else if (field == "2") stopBits = StopBits::Two;
  else return false;
  return true;
}

}  // namespace

bool ApplyLineDefinition(const char* mode, LineSettings& settings) {
  if (mode == nullptr) return false;
  std::string definition(mode);
  const auto colon = definition.find(':');
  if (colon != std::string::npos) definition.erase(0, colon + 1);

  const auto fields = SplitFields(definition);
  if (fields.size() > 4) return false;

  LineSettings parsed = settings;
  unsigned long number = 0;
  if (!ParseNumber(fields[0], 4000000, number)) return false;
  parsed.baudRate = static_cast<std::uint32_t>(number);
  if (fields.size() > 1 && !ParseParity(fields[1], parsed.parity)) return false;
  if (fields.size() > 2) {
    if (!ParseNumber(fields[2], 8, number) || number < 5) return false;
    parsed.dataBits = static_cast<int>(number);
  }
  if (fields.size() > 3 && !ParseStopBits(fields[3], parsed.stopBits)) return false;

  settings = parsed;
  return true;
}

}  // namespace serial
