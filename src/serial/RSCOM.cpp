#include "RSCOM.h"

#include <cstring>

#include "LineDefinition.h"
#include "PlatformSeam.h"

using serial::ActivePlatform;

namespace {
serial::Handle PortHandle = serial::kNoHandle;
}

serial::Handle serial::CurrentPortHandle() { return PortHandle; }

bool OpenPort(const char* mode) {
  auto& platform = ActivePlatform();
  if (PortHandle != serial::kNoHandle) platform.Close(PortHandle);

  const std::string deviceName(mode, strnlen(mode, 4));
  PortHandle = platform.Open(deviceName);

  serial::LineSettings settings;
  platform.GetSettings(PortHandle, settings);
  serial::ApplyLineDefinition(mode, settings);
  const bool applied = platform.SetSettings(PortHandle, settings);
  SetPortTimeouts(10);
  return applied;
}

void SetPortTimeouts(std::uint32_t t) {
  serial::Timeouts timeouts;
  timeouts.readInterval = 1;
  timeouts.readTotalMultiplier = 1;
  timeouts.readTotalConstant = t;
  timeouts.writeTotalMultiplier = 10;
  timeouts.writeTotalConstant = t;
  ActivePlatform().SetTimeouts(PortHandle, timeouts);
}

void ClosePort() {
  ActivePlatform().Close(PortHandle);
  PortHandle = serial::kNoHandle;
}

void WriteByte(std::int32_t value) {
  const auto byte = static_cast<std::uint8_t>(value & 0xFF);
  ActivePlatform().Write(PortHandle, &byte, 1);
}

std::int32_t ReadByte() {
  std::uint8_t byte = 0;
  if (ActivePlatform().Read(PortHandle, &byte, 1) == 1) return byte;
  return -1;
}

void SetDTR(std::int32_t on) {
  ActivePlatform().SetLine(PortHandle, serial::ModemLine::Dtr, on != 0);
}

void SetRTS(std::int32_t on) {
  ActivePlatform().SetLine(PortHandle, serial::ModemLine::Rts, on != 0);
}

std::string PortDevice(const char* portName) { return ActivePlatform().DeviceOf(portName); }

serial::OpenFailure LastOpenFailure() { return ActivePlatform().LastOpenFailure(); }
