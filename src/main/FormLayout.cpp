#include "FormLayout.h"

#include <cmath>

namespace {
int Scaled(int value, int textHeight) {
  return static_cast<int>(std::lround(static_cast<double>(value) * textHeight / kDesignTextHeight));
}
}  // namespace

QRect ScaledRect(const QRect& designed, int textHeight) {
  return {Scaled(designed.left(), textHeight), Scaled(designed.top(), textHeight),
          Scaled(designed.width(), textHeight), Scaled(designed.height(), textHeight)};
}
