#include "ModemLineSpy.h"

#include <dlfcn.h>
#include <sys/ioctl.h>

#include <cstdarg>

std::vector<std::string>& ModemLineCalls() {
  static std::vector<std::string> calls;
  return calls;
}

// Stands in front of the C library's ioctl for this test program only.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
  va_list args;
  va_start(args, request);
  void* argument = va_arg(args, void*);
  va_end(args);
  if (request == TIOCMBIS || request == TIOCMBIC) {
    const int bits = *static_cast<int*>(argument);
    std::string call = request == TIOCMBIS ? "raise" : "drop";
    if (bits & TIOCM_DTR) call += " DTR";
    if (bits & TIOCM_RTS) call += " RTS";
    ModemLineCalls().push_back(call);
  }
  using RealIoctl = int (*)(int, unsigned long, ...);
  static const auto real = reinterpret_cast<RealIoctl>(dlsym(RTLD_NEXT, "ioctl"));
  return real(fd, request, argument);
}
