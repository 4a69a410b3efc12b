#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QFile>
#include <QString>

// A file's bytes, or "<missing>" when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void WriteBytes(const QString& path, const QByteArray& bytes, mode_t mode = 0644) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
  file.close();
  chmod(QFile::encodeName(path).constData(), mode);
}
