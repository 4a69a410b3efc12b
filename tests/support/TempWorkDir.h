#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A fresh folder as the process's working directory while the object lives.
class TempWorkDir {
 public:
  TempWorkDir() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
  ~TempWorkDir() { QDir::setCurrent(previous_); }
  TempWorkDir(const TempWorkDir&) = delete;
  TempWorkDir& operator=(const TempWorkDir&) = delete;

  QString Root() const { return dir_.path(); }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  bool Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
  }

 private:
  QTemporaryDir dir_;
  QString previous_;
};
