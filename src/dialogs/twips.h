// Kelpie's windows are laid out in twips (1/1440 inch), scaled by the screen's logical DPI.
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <QtMath>

namespace kelpie {

inline int twipsToPixels(int twips, int logicalDpi) {
  return qRound(static_cast<double>(twips) * logicalDpi / 1440.0);
}

inline QRect twipsRect(const QWidget* on, int left, int top, int width, int height) {
  const int dx = on->logicalDpiX();
  const int dy = on->logicalDpiY();
  return QRect(twipsToPixels(left, dx), twipsToPixels(top, dy), twipsToPixels(width, dx),
               twipsToPixels(height, dy));
}

inline QSize twipsSize(const QWidget* on, int width, int height) {
  return QSize(twipsToPixels(width, on->logicalDpiX()), twipsToPixels(height, on->logicalDpiY()));
}

}  // namespace kelpie
