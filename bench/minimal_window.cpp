// The least a Qt widget program does to show a window of the main window's
// size: the baseline of the start-up benchmark (bench_startup).
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Minimal Qt window");
  window.resize(1189, 611);
  window.show();
  return app.exec();
}
