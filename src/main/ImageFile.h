#pragma once

#include <QString>
#include <cstdint>

#include "ZarnError.h"

// The run time's I/O error: a code and the message that goes with it.
class InOutError : public ZarnError {
 public:
  explicit InOutError(int code);
  int Code() const { return code_; }

 private:
  int code_;
};

// The run time's message for an I/O error code.
QString InOutMessage(int code);

// A file of bytes read from the first to the last, as the run time's file
// input reads it. Whatever is still open is closed when the object goes.
class ImageFile {
 public:
  // The code of a read that found fewer bytes than it asked for.
  static constexpr int kReadPastEnd = 100;

  ImageFile() = default;
  ~ImageFile();
  ImageFile(const ImageFile&) = delete;
  ImageFile& operator=(const ImageFile&) = delete;

  // Opens an existing file for reading only: 0, or the I/O code of why it
  // could not be opened. A failed open leaves nothing open.
  int Open(const QString& name);
  // True when the read position is at or past the file's size as it is now.
  // Throws InOutError.
  bool AtEnd() const;
  // The byte at the read position; the position moves on by one. Throws InOutError.
  std::uint8_t Read();
  // Throws InOutError.
  void Close();

 private:
  int fd_ = -1;
};
