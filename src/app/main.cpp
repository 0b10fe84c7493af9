// Program entry: the main window, then the hidden chart window, then the
// event loop. An error that escapes is shown in an error box; exit code 0.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <exception>

#include "app/form2.h"
#include "app/main_form.h"
#include "app/qt_dialogs.h"
#include "device/linked/linked_device_library.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  try {
    trelvan::LinkedDeviceLibrary device;
    trelvan::QtDialogs dialogs;
    trelvan::TMainForm MainForm(device, dialogs);
    dialogs.SetParent(&MainForm);
    MainForm.FormCreate();
    trelvan::TForm2 Form2;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect frame = MainForm.frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      MainForm.move(frame.topLeft());
    }
    MainForm.show();
    app.exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, "Trelvan", QString::fromUtf8(e.what()));
  }
  return 0;
}
