// The yardstick of Kelpie's start-up: a Qt program that opens an empty main window, built
// with the same compiler, flags and Qt as Kelpie.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.show();
  return QApplication::exec();
}
