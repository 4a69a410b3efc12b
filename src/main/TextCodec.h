#pragma once

#include <QByteArray>
#include <QString>

// Source files are 8-bit text without a byte-order mark: UTF-8 where the
// bytes are valid UTF-8, Windows-1252 otherwise.
enum class TextEncoding { Utf8, Windows1252 };

struct DecodedText {
  QString text;
  TextEncoding encoding = TextEncoding::Utf8;
};

DecodedText DecodeText(const QByteArray& bytes);

// Text that Windows-1252 cannot hold is written as UTF-8 rather than lost.
QByteArray EncodeText(const QString& text, TextEncoding encoding);
