#pragma once
// The About window: the application's version tag and build stamp, and the
// four version entries of the open module.

#include <cstdint>

#include <QDialog>
#include <QString>

#include "device/device_library.h"
#include "device/version_texts.h"

class QGroupBox;
class QLabel;

namespace trelvan {

class TForm1 : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* VersionTag = "Trelvan_APP_V09";

  // Builds the dialog over `owner`, writes the tag and `buildDateTime`, then
  // runs FormCreate. `log` receives the red line of a failed version read.
  TForm1(QWidget* owner, DeviceLibrary& device, uint8_t deviceIndex, LogFunction log,
         QString buildDateTime);

  // Writes the tag and the build stamp, then reads version selectors 0..3
  // into rows "DLL:" to "DFU:"; a row whose read fails keeps its texts.
  void FormCreate();

  QGroupBox* GroupBox1;
  // Labels "APP:", "DLL:", "SYS:", "MCU:", "DFU:".
  QLabel *StaticText12, *StaticText13, *StaticText14, *StaticText15, *StaticText4;
  // Left and right value fields of the five rows.
  QLabel *StaticText16, *StaticText17;
  QLabel *StaticText18, *StaticText21;
  QLabel *StaticText19, *StaticText22;
  QLabel *StaticText20, *StaticText23;
  QLabel *StaticText6, *StaticText5;

 private:
  QLabel* MakeText(const char* name, const QString& text, int x, int y, int width, bool bold);

  DeviceLibrary& device_;
  uint8_t deviceIndex_;
  LogFunction log_;
  QString buildDateTime_;
};

}  // namespace trelvan
