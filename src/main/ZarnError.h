#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A failure that leaves a handler and is shown to the user as it stands.
class ZarnError : public std::exception {
 public:
  explicit ZarnError(const QString& message) : message_(message), utf8_(message.toUtf8()) {}
  const QString& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};
