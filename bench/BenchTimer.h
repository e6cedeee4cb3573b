#pragma once
// The seconds a QElapsedTimer has run, as the window benchmarks print them.

#include <QElapsedTimer>

inline double Seconds(const QElapsedTimer& timer) {
  return timer.nsecsElapsed() / 1e9;
}
