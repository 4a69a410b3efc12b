#include "ByteToHex.h"
