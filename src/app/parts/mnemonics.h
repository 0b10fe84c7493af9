#pragma once
// The keyboard marks of the window's buttons: a caption with Qt's "&" before
// the letter that Alt presses it with. The shown text stays the caption; a
// caption without a free letter comes back unmarked.

#include <QString>

namespace trelvan {

QString WithMnemonic(const QString& caption);

// The caption without its marks, as the user reads it.
QString PlainCaption(const QString& text);

}  // namespace trelvan
