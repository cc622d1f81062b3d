// Entry point of the offscreen GUI tests: one QApplication for the whole program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Window placement and other settings go to a scratch place, never the user's own.
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kelpie");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
