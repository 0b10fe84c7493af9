// Program entry: --help and --version answer on standard output without a
// window; otherwise the main window, then the hidden chart window, then the
// event loop. An error that escapes is shown in an error box; exit code 0.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>
#include <exception>

#include "app/build_stamp.h"
#include "app/command_line.h"
#include "app/form2.h"
#include "app/main_form.h"
#include "app/parts/auto_save_folder.h"
#include "app/qt_dialogs.h"
#include "app/toolkit_settings.h"
#include "device/linked/linked_device_library.h"

namespace {

// Answers --help or --version: no GUI, so no display is needed.
int PrintAnswer(trelvan::CommandLineAction action, int argc, char** argv) {
  QCoreApplication core(argc, argv);
  std::string text;
  if (action == trelvan::CommandLineAction::PrintVersion) {
    text = trelvan::VersionText(ProgramVersion(), BuildDateTime());
  } else {
    const QString folder =
        trelvan::PlannedAutoSaveFolderFor(QCoreApplication::applicationDirPath());
    text = trelvan::HelpText(folder.toStdString());
  }
  std::fputs(text.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // The name the user's data folder is made from, whatever the file is called.
  QCoreApplication::setApplicationName("trelvan");
  QCoreApplication::setApplicationVersion(ProgramVersion());
  const trelvan::CommandLineAction action = trelvan::ReadCommandLine(argc, argv);
  if (action != trelvan::CommandLineAction::OpenWindow) return PrintAnswer(action, argc, argv);

  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName("trelvan");
  trelvan::KeepToolkitSettingsForTheRun();
  try {
    trelvan::LinkedDeviceLibrary device;
    trelvan::QtDialogs dialogs;
    trelvan::TMainForm MainForm(device, dialogs);
    dialogs.SetParent(&MainForm);
    // Load From opens in the auto-save folder until a file has been loaded.
    dialogs.folders().SetFirstFolder("Load From", [&MainForm] { return MainForm.Edit45->text(); });
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
