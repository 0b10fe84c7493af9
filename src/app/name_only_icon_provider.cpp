#include "app/name_only_icon_provider.h"

#include <QMimeDatabase>

namespace trelvan {

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
  return icon(info.isDir() ? QAbstractFileIconProvider::Folder : QAbstractFileIconProvider::File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
  if (info.isDir()) return QStringLiteral("Folder");
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
  return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

}  // namespace trelvan
