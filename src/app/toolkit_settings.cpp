#include "app/toolkit_settings.h"

#include <QSettings>

namespace trelvan {

void KeepToolkitSettingsForTheRun() {
  // A folder that can never be made (a path below a device file): Qt finds
  // its settings file unwritable at once, so it neither locks nor flushes.
  // Reading finds nothing, and the dialogs start from their defaults.
  const QString nowhere = QStringLiteral("/dev/null/trelvan-toolkit-settings");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

}  // namespace trelvan
