#pragma once

#include <QString>

// value (0..255) as two upper-case hex digits, high digit first.
QString ByteToHex(int value);
