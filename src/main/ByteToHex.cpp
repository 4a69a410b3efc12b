#include "ByteToHex.h"

namespace {

QChar HexDigit(int d) { return QLatin1Char(static_cast<char>(d < 10 ? '0' + d : 'A' + (d - 10))); }

}  // namespace

QString ByteToHex(int value) {
  const QChar digits[] = {HexDigit(value / 16), HexDigit(value % 16)};
  return QString(digits, 2);
}
