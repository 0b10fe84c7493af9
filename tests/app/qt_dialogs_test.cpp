// The production dialogs, answered offscreen the way a user would: each is
// found while its modal loop runs and given its answer.
#include "app/qt_dialogs.h"
#include "app/toolkit_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace trelvan {
namespace {

// Runs `answer` on the first visible dialog of type T once the event loop of
// the dialog about to open is running.
template <typename T>
void WhenShown(std::function<void(T*)> answer) {
  QTimer::singleShot(0, [answer] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<T*>(w); dialog != nullptr && dialog->isVisible()) {
        answer(dialog);
        return;
      }
    }
    ADD_FAILURE() << "no dialog shown";
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

const QStringList Filters{"bin file (*.bin)", "txt file (*.txt)", "all file (*)"};

TEST(QtDialogs, FileDialogsOfferTheFiltersAndReturnTheChosenOne) {
  QTemporaryDir folder;
  QtDialogs dialogs;

  // Save: the filters offered, the one preselected, the one chosen comes back.
  WhenShown<QFileDialog>([&](QFileDialog* d) {
    EXPECT_EQ(d->nameFilters(), Filters);
    EXPECT_EQ(d->selectedNameFilter(), Filters[1]);
    EXPECT_EQ(d->iconProvider(), &dialogs.iconProvider());
    EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
    d->setDirectory(folder.path());
    d->selectNameFilter(Filters[2]);
    d->selectFile(folder.filePath("new.dat"));
    static_cast<QDialog*>(d)->accept();
  });
  FileChoice saved = dialogs.SaveFile("Save", Filters, 1, true);
  EXPECT_EQ(saved.path, folder.filePath("new.dat"));
  EXPECT_EQ(saved.filterIndex, 2);

  // Open: an existing file and its filter.
  WriteFile(folder.filePath("run.bin"), "x");
  WhenShown<QFileDialog>([&](QFileDialog* d) {
    EXPECT_EQ(d->nameFilters(), Filters);
    EXPECT_EQ(d->iconProvider(), &dialogs.iconProvider());
    EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
    d->setDirectory(folder.path());
    d->selectNameFilter(Filters[0]);
    d->selectFile(folder.filePath("run.bin"));
    static_cast<QDialog*>(d)->accept();
  });
  FileChoice opened = dialogs.OpenFile("Open", Filters);
  EXPECT_EQ(opened.path, folder.filePath("run.bin"));
  EXPECT_EQ(opened.filterIndex, 0);

  // Cancel gives an empty path.
  WhenShown<QFileDialog>([](QFileDialog* d) { d->reject(); });
  EXPECT_TRUE(dialogs.OpenFile("Open", Filters).path.isEmpty());

  // The folder picker.
  WhenShown<QFileDialog>([&](QFileDialog* d) {
    EXPECT_EQ(d->iconProvider(), &dialogs.iconProvider());
    EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(d->fileMode(), QFileDialog::Directory);
    d->setDirectory(folder.path());
    static_cast<QDialog*>(d)->accept();
  });
  EXPECT_EQ(QDir(dialogs.PickFolder(folder.path())).canonicalPath(), QDir(folder.path()).canonicalPath());
}

// Saving over an existing name asks first; No keeps the dialog open.
TEST(QtDialogs, SaveOverAnExistingFileAsksTheReplaceQuestion) {
  QTemporaryDir folder;
  WriteFile(folder.filePath("old.bin"), "x");
  QtDialogs dialogs;
  int questions = 0;
  WhenShown<QFileDialog>([&](QFileDialog* d) {
    d->setDirectory(folder.path());
    d->selectFile(folder.filePath("old.bin"));
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      ++questions;
      box->button(QMessageBox::No)->click();
    });
    static_cast<QDialog*>(d)->accept();
    EXPECT_TRUE(d->isVisible()) << "No keeps the dialog open";
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      ++questions;
      box->button(QMessageBox::Yes)->click();
    });
    static_cast<QDialog*>(d)->accept();
  });
  EXPECT_EQ(dialogs.SaveFile("Save", Filters, 0, true).path, folder.filePath("old.bin"));
  EXPECT_EQ(questions, 2);
}

TEST(QtDialogs, ConfirmHasCancelAsTheDefault) {
  QtDialogs dialogs;
  WhenShown<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->text(), "Replace?");
    ASSERT_NE(box->defaultButton(), nullptr);
    EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::Cancel);
    box->defaultButton()->click();
  });
  EXPECT_FALSE(dialogs.Confirm("Replace?"));
  WhenShown<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
  EXPECT_TRUE(dialogs.Confirm("Replace?"));
}

// Types come from names only: a file's contents are never read to guess them
// (as root, the dialog once read /proc/kmsg that way and never returned).
TEST(QtDialogs, IconProviderTellsTypesFromNamesOnly) {
  QTemporaryDir folder;
  WriteFile(folder.filePath("report"), "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  WriteFile(folder.filePath("notes"), "plain words\n");
  const NameOnlyIconProvider provider;
  EXPECT_EQ(provider.type(QFileInfo(folder.filePath("report"))), provider.type(QFileInfo(folder.filePath("notes"))));
  EXPECT_EQ(provider.type(QFileInfo(folder.path())), "Folder");
  EXPECT_FALSE(provider.icon(QFileInfo(folder.filePath("report"))).isNull());
  // A pipe without a writer would block a read of its contents.
  const QString pipe = folder.filePath("pipe.bin");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  EXPECT_FALSE(provider.type(QFileInfo(pipe)).isEmpty());
}

// Closing a file dialog writes Qt's own state with a lock file and two
// flushes to disk on the window's thread; kept for the run, it writes nothing.
TEST(QtDialogs, AClosedFileDialogWritesNoToolkitSettings) {
  const QString usual = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  KeepToolkitSettingsForTheRun();
  QTemporaryDir folder;
  QtDialogs dialogs;
  WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_TRUE(dialogs.SaveFile("Save As", Filters, 0, true).path.isEmpty());
  QSettings qtOwn(QSettings::UserScope, "QtProject");
  qtOwn.setValue("probe", 1);
  qtOwn.sync();
  EXPECT_FALSE(qtOwn.isWritable());
  EXPECT_EQ(qtOwn.status(), QSettings::AccessError);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, usual);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, usual);
}

}  // namespace
}  // namespace trelvan
