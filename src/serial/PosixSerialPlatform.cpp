#include "PosixSerialPlatform.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <utility>

#include "PortNames.h"

namespace serial {
namespace {

struct BaudCode {
  std::uint32_t baud;
  speed_t code;
};

constexpr BaudCode kBaudCodes[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},
    {150, B150},       {200, B200},       {300, B300},       {600, B600},
    {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

bool ToSpeed(std::uint32_t baud, speed_t& code) {
  for (const auto& entry : kBaudCodes) {
    if (entry.baud == baud) {
      code = entry.code;
      return true;
    }
  }
  return false;
}

std::uint32_t FromSpeed(speed_t code) {
  for (const auto& entry : kBaudCodes) {
    if (entry.code == code) return entry.baud;
  }
  return 0;
}

tcflag_t DataBitsFlag(int dataBits) {
  switch (dataBits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

std::int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Waits for events on fd until the monotonic deadline; false when the
// deadline passed. EINTR is retried against the same deadline.
bool WaitFor(int fd, short events, std::int64_t deadlineNs, short& revents) {
  for (;;) {
    const std::int64_t left = deadlineNs - MonotonicNs();
    if (left <= 0) return false;
    pollfd entry{fd, events, 0};
    const timespec wait{static_cast<time_t>(left / 1000000000), static_cast<long>(left % 1000000000)};
    const int ready = ppoll(&entry, 1, &wait, nullptr);
    if (ready > 0) {
      revents = entry.revents;
      return true;
    }
    if (ready < 0 && errno != EINTR) return false;
  }
}

// When a transfer of count bytes must give up, on the monotonic clock.
std::int64_t DeadlineNs(std::uint32_t msPerByte, std::uint32_t ms, std::size_t count) {
  return MonotonicNs() +
         (std::int64_t{msPerByte} * static_cast<std::int64_t>(count) + ms) * 1000000;
}

OpenFailure FailureOf(int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return OpenFailure::NoDevice;
    case EACCES:
    case EPERM: return OpenFailure::PermissionDenied;
    case EBUSY:
    case EWOULDBLOCK: return OpenFailure::InUse;
    default: return OpenFailure::Other;
  }
}

void DropModemLines(int fd) {
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(fd, TIOCMBIC, &lines);
}

// USB adapters hold received bytes up to 16 ms unless asked not to.
void AskForLowLatency(int fd) {
  serial_struct info{};
  if (ioctl(fd, TIOCGSERIAL, &info) != 0) return;
  info.flags |= ASYNC_LOW_LATENCY;
  ioctl(fd, TIOCSSERIAL, &info);
}

}  // namespace

PosixSerialPlatform::PosixSerialPlatform(Resolver resolve) : resolve_(std::move(resolve)) {
  if (!resolve_) resolve_ = [](const std::string& name) { return ResolvePortName(name); };
  // The read time-out is a lower bound; the default 50 us slack adds to it.
  prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
}

PosixSerialPlatform::~PosixSerialPlatform() {
  for (auto& entry : ports_) close(entry.second.fd);
}

std::string PosixSerialPlatform::DeviceOf(const std::string& portName) const {
  return resolve_(portName);
}

PosixSerialPlatform::Port* PosixSerialPlatform::Find(Handle handle) {
  const auto found = ports_.find(handle);
  return found == ports_.end() ? nullptr : &found->second;
}

Handle PosixSerialPlatform::Open(const std::string& portName) {
  const std::string device = resolve_(portName);
  if (device.empty()) {
    lastOpenFailure_ = OpenFailure::NoDevice;
    return kInvalidHandle;
  }
  const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    lastOpenFailure_ = FailureOf(errno);
    return kInvalidHandle;
  }
  // Linux raises DTR and RTS on every open; the board must not see them.
  DropModemLines(fd);
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    lastOpenFailure_ = FailureOf(errno);
    close(fd);
    return kInvalidHandle;
  }
  ioctl(fd, TIOCEXCL);
  AskForLowLatency(fd);

  lastOpenFailure_ = OpenFailure::None;
  const Handle handle = nextHandle_++;
  ports_[handle].fd = fd;
  return handle;
}

bool PosixSerialPlatform::GetSettings(Handle handle, LineSettings& settings) {
  Port* port = Find(handle);
  termios attributes{};
  if (port == nullptr || tcgetattr(port->fd, &attributes) != 0) return false;
  settings.baudRate = FromSpeed(cfgetospeed(&attributes));
  switch (attributes.c_cflag & CSIZE) {
    case CS5: settings.dataBits = 5; break;
    case CS6: settings.dataBits = 6; break;
    case CS7: settings.dataBits = 7; break;
    default: settings.dataBits = 8; break;
  }
  if ((attributes.c_cflag & PARENB) == 0) settings.parity = 'N';
  else if (attributes.c_cflag & CMSPAR) settings.parity = (attributes.c_cflag & PARODD) ? 'M' : 'S';
  else settings.parity = (attributes.c_cflag & PARODD) ? 'O' : 'E';
  settings.stopBits = (attributes.c_cflag & CSTOPB) ? StopBits::Two : StopBits::One;
  return true;
}

bool PosixSerialPlatform::SetSettings(Handle handle, const LineSettings& settings) {
  Port* port = Find(handle);
  termios attributes{};
  if (port == nullptr || tcgetattr(port->fd, &attributes) != 0) return false;

  speed_t speed = B0;
  bool supported = ToSpeed(settings.baudRate, speed);
  // termios has no 1.5 stop bits.
  supported = supported && settings.stopBits != StopBits::OnePointFive;

  attributes.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                          IXOFF | IXANY | INPCK | IGNPAR);
  attributes.c_oflag &= ~OPOST;
  attributes.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  attributes.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  attributes.c_cflag |= CLOCAL | CREAD | DataBitsFlag(settings.dataBits);
  if (settings.parity != 'N') {
    attributes.c_cflag |= PARENB;
    if (settings.parity == 'O' || settings.parity == 'M') attributes.c_cflag |= PARODD;
    if (settings.parity == 'M' || settings.parity == 'S') attributes.c_cflag |= CMSPAR;
  }
  if (settings.stopBits == StopBits::Two) attributes.c_cflag |= CSTOPB;
  attributes.c_cc[VMIN] = 0;
  attributes.c_cc[VTIME] = 0;

  bool applied = false;
  if (supported) {
    cfsetispeed(&attributes, speed);
    cfsetospeed(&attributes, speed);
    // tcsetattr succeeds when any part was taken, so read back what stuck.
    termios taken{};
    applied = tcsetattr(port->fd, TCSANOW, &attributes) == 0 &&
              tcgetattr(port->fd, &taken) == 0 && cfgetospeed(&taken) == speed &&
              (taken.c_cflag & (CSIZE | PARENB | CSTOPB)) ==
                  (attributes.c_cflag & (CSIZE | PARENB | CSTOPB));
  }
  DropModemLines(port->fd);
  return applied;
}

bool PosixSerialPlatform::SetTimeouts(Handle handle, const Timeouts& timeouts) {
  Port* port = Find(handle);
  if (port == nullptr) return false;
  port->timeouts = timeouts;
  return true;
}

std::size_t PosixSerialPlatform::Read(Handle handle, std::uint8_t* buffer, std::size_t count) {
  Port* port = Find(handle);
  if (port == nullptr || count == 0) return 0;
  const std::int64_t deadline = DeadlineNs(port->timeouts.readTotalMultiplier,
                                           port->timeouts.readTotalConstant, count);
  std::size_t got = 0;
  short revents = 0;
  while (got < count) {
    // With VMIN and VTIME at zero an empty queue reads as 0, not EAGAIN.
    const ssize_t n = read(port->fd, buffer + got, count - got);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return got;  // EIO: the other end is gone
    if (revents & (POLLHUP | POLLERR | POLLNVAL)) return got;
    if (!WaitFor(port->fd, POLLIN, deadline, revents)) return got;
  }
  return got;
}

std::size_t PosixSerialPlatform::Write(Handle handle, const std::uint8_t* data, std::size_t count) {
  Port* port = Find(handle);
  if (port == nullptr || count == 0) return 0;
  const std::int64_t deadline = DeadlineNs(port->timeouts.writeTotalMultiplier,
                                           port->timeouts.writeTotalConstant, count);
  std::size_t written = 0;
  while (written < count) {
    const ssize_t n = write(port->fd, data + written, count - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return written;
    short revents = 0;
    if (!WaitFor(port->fd, POLLOUT, deadline, revents)) return written;
    if ((revents & POLLOUT) == 0) return written;
  }
  return written;
}

bool PosixSerialPlatform::SetLine(Handle handle, ModemLine line, bool raised) {
  Port* port = Find(handle);
  if (port == nullptr) return false;
  int bits = line == ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
  return ioctl(port->fd, raised ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

bool PosixSerialPlatform::Close(Handle handle) {
  Port* port = Find(handle);
  if (port == nullptr) return false;
  // A terminal that outlives its openers (a pseudo-terminal) keeps the flag.
  ioctl(port->fd, TIOCNXCL);
  close(port->fd);
  ports_.erase(handle);
  return true;
}

std::int64_t PosixCounter::Frequency() { return 1000000000; }

std::int64_t PosixCounter::Now() { return MonotonicNs(); }

}  // namespace serial
