#include "TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace {

// 0x80..0x9F; the five bytes Windows-1252 leaves undefined keep their C1 code points.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeWindows1252(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    *out++ = (byte >= 0x80 && byte < 0xA0) ? QChar(kHighControls[byte - 0x80]) : QChar(byte);
  }
  return text;
}

bool EncodeWindows1252(const QString& text, QByteArray& bytes) {
  bytes.resize(text.size());
  char* out = bytes.data();
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
      *out++ = static_cast<char>(unit);
      continue;
    }
    int index = 0;
    while (index < 32 && kHighControls[index] != unit) ++index;
    if (index == 32) return false;
    *out++ = static_cast<char>(0x80 + index);
  }
  return true;
}

}  // namespace

DecodedText DecodeText(const QByteArray& bytes) {
  // The initial BOM stays in the text, so that it is written back as read;
  // a sequence cut off at the end is an error, not a state to carry on.
  QStringDecoder utf8(QStringConverter::Utf8,
                      QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return {text, TextEncoding::Utf8};
  return {DecodeWindows1252(bytes), TextEncoding::Windows1252};
}

QByteArray EncodeText(const QString& text, TextEncoding encoding) {
  QByteArray bytes;
  if (encoding == TextEncoding::Windows1252 && EncodeWindows1252(text, bytes)) return bytes;
  QStringEncoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
  return utf8.encode(text);
}
