// Test main for GUI tests: one QApplication for the whole binary, then GoogleTest.
// Linked as an object library, so this main wins over gtest_main's.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Vek Base"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
