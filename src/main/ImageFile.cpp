#include "ImageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace {

// The run time numbers its I/O errors as Windows does: errno values with a
// counterpart in its table take that code, others keep their own number.
int CodeOf(int error) {
  switch (error) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR: return 5;
    case ENOSPC:
    case EDQUOT: return 101;
    // EIO's own number is the run time's "access denied"; Windows calls
    // a device error ERROR_IO_DEVICE.
    case EIO: return 1117;
    default: return error;
  }
}

}  // namespace

InOutError::InOutError(int code) : ZarnError(InOutMessage(code)), code_(code) {}

QString InOutMessage(int code) {
  switch (code) {
    case 2: return QStringLiteral("Datei nicht gefunden");
    case 3: return QStringLiteral("Ungültiger Dateiname");
    case 4: return QStringLiteral("Zu viele geöffnete Dateien");
    case 5: return QStringLiteral("Dateizugriff verweigert");
    case ImageFile::kReadPastEnd: return QStringLiteral("Versuch hinter dem Dateiende zu lesen");
    case 101: return QStringLiteral("Zu wenig Speicherplatz");
    case 106: return QStringLiteral("Ungültige numerische Eingabe");
    default: return QStringLiteral("E/A-Fehler %1").arg(code);
  }
}

ImageFile::~ImageFile() {
  if (fd_ >= 0) ::close(fd_);
}

int ImageFile::Open(const QString& name) {
  if (fd_ >= 0) Close();
  // O_NONBLOCK keeps a FIFO of that name from holding the window until a writer comes.
  const int fd = ::open(QFile::encodeName(name).constData(),
                        O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return CodeOf(errno);
  struct stat info {};
  int code = 0;
  if (fstat(fd, &info) != 0) code = CodeOf(errno);
  else if (S_ISDIR(info.st_mode)) code = CodeOf(EISDIR);
  else if (!S_ISREG(info.st_mode)) code = CodeOf(EACCES);
  if (code != 0) {
    ::close(fd);
    return code;
  }
  fd_ = fd;
  return 0;
}

bool ImageFile::AtEnd() const {
  struct stat info {};
  if (fstat(fd_, &info) != 0) throw InOutError(CodeOf(errno));
  const off_t position = lseek(fd_, 0, SEEK_CUR);
  if (position < 0) throw InOutError(CodeOf(errno));
  return position >= info.st_size;
}

std::uint8_t ImageFile::Read() {
  std::uint8_t byte = 0;
  ssize_t n;
  do {
    n = ::read(fd_, &byte, 1);
  } while (n < 0 && errno == EINTR);
  if (n < 0) throw InOutError(CodeOf(errno));
  if (n == 0) throw InOutError(kReadPastEnd);
  return byte;
}

void ImageFile::Close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  // Linux has released the descriptor even when close reports EINTR.
  if (::close(fd) != 0 && errno != EINTR) throw InOutError(CodeOf(errno));
}
