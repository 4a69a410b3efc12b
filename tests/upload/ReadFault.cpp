#include "ReadFault.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

struct Fault {
  std::string path;
  dev_t device = 0;
  ino_t inode = 0;
  int readsLeft = 0;  // 0: none armed
  int error = 0;      // 0: shorten instead
};

Fault armed;

void Arm(const std::string& path, int nth, int error) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return;
  armed = {path, info.st_dev, info.st_ino, nth, error};
}

bool IsArmedFile(int fd) {
  struct stat info {};
  return fstat(fd, &info) == 0 && info.st_dev == armed.device && info.st_ino == armed.inode;
}

}  // namespace

void read_fault::ShortenBefore(const std::string& path, int nth) { Arm(path, nth, 0); }
void read_fault::Fail(const std::string& path, int nth, int error) { Arm(path, nth, error); }
void read_fault::Clear() { armed.readsLeft = 0; }

// Stands in front of the C library's read for this test program only.
extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  using RealRead = ssize_t (*)(int, void*, size_t);
  static const auto real = reinterpret_cast<RealRead>(dlsym(RTLD_NEXT, "read"));
  if (armed.readsLeft > 0 && count == 1 && IsArmedFile(fd) && --armed.readsLeft == 0) {
    if (armed.error != 0) {
      errno = armed.error;
      return -1;
    }
    if (truncate(armed.path.c_str(), lseek(fd, 0, SEEK_CUR)) != 0) return -1;
  }
  return real(fd, buffer, count);
}
