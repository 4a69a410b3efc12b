#pragma once

#include <QRect>

// Positions and sizes are designed for a window font whose text is 13
// pixels high and scaled by the ratio of the text height met at run time.
inline constexpr int kDesignTextHeight = 13;

QRect ScaledRect(const QRect& designed, int textHeight);
