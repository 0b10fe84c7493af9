#pragma once
// Icons and type texts for the file dialogs from names alone. Qt's own
// provider opens files to guess their type from their contents, on the
// window's thread: a name under /proc (kmsg) or a pipe can block it for good.

#include <QFileIconProvider>

namespace trelvan {

class NameOnlyIconProvider : public QFileIconProvider {
 public:
  using QFileIconProvider::icon;
  QIcon icon(const QFileInfo& info) const override;
  QString type(const QFileInfo& info) const override;
};

}  // namespace trelvan
