// The yardsticks of Kelpie's start-up: a Qt program that opens an empty main window, built
// with the same compiler, flags and Qt as Kelpie; with --label the window shows one line of
// text, which is what loading the desktop's fonts costs any window with words in it.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  if (argc > 1 && std::strcmp(argv[1], "--label") == 0)
    window.setCentralWidget(new QLabel("Different stations checked-in to date: 10000"));
  window.show();
  return QApplication::exec();
}
