// The chart's image menu, the log's Copy and Select All, and where the file
// dialogs open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstring>
#include <qcustomplot.h>

#include "app/chart_image_menu.h"
#include "app/main_form.h"
#include "app/parts/log_copy_actions.h"
#include "app/qt_dialogs.h"
#include "device/log_colours.h"
#include "support/fake_device_library.h"
#include "support/scripted_dialogs.h"

namespace trelvan {
namespace {

struct WindowTest : ::testing::Test {
  testing::FakeDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  std::unique_ptr<TMainForm> form;
  QTemporaryDir dir;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    device.config.modeBits = 0x30;
    device.config.trigBits = 0x01;
    device.config.wPeriod = 100;
    form = std::make_unique<TMainForm>(device, dialogs, 1000, PollMode::ByHand);
    form->FormCreate();
    form->Edit45->setText(dir.path() + "/");
    form->show();
    form->PageControl1->setCurrentWidget(form->TabSheet2);
    // A sine on AN1 over a full window, so that the picture has a trace.
    form->Button7->click();
    for (int i = 0; i < 500; ++i) {
      std::vector<uint8_t> cycle(16, 0);
      const auto code = static_cast<int16_t>(std::sin(i / 40.0) * 20000);
      std::memcpy(cycle.data(), &code, 2);
      device.cycle = cycle;
      form->Button6->click();
    }
    form->Chart1->replot();
  }
  void TearDown() override {
    form->close();
    form.reset();
  }
  std::string LastLog() { return form->log().Lines().back().text; }
};

// How many distinct colours an image holds (a blank one has one).
int Colours(const QImage& image) {
  QSet<QRgb> seen;
  for (int y = 0; y < image.height(); y += 3) {
    for (int x = 0; x < image.width(); x += 3) seen.insert(image.pixel(x, y));
  }
  return static_cast<int>(seen.size());
}

TEST_F(WindowTest, ChartMenuOffersItsTwoEntries) {
  QStringList texts;
  for (QAction* a : form->chartMenu().menu()->actions()) texts << a->text();
  EXPECT_EQ(texts, (QStringList{"&Save image...", "&Copy image"}));
  EXPECT_EQ(form->Chart1->contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(WindowTest, SaveImageWritesThePictureAtTheChartsSize) {
  const QString base = dir.filePath("chart");
  dialogs.saveAnswers = {{base, 0}, {base + ".PDF", 1}, {}};
  form->chartMenu().SaveImage();
  EXPECT_EQ(dialogs.lastFilters, (QStringList{"PNG image (*.png)", "PDF document (*.pdf)"}));
  EXPECT_TRUE(dialogs.lastConfirmOverwrite);
  const QImage png(base + ".png");
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), form->Chart1->size());
  EXPECT_GT(Colours(png), 8);  // background, axes, text and the trace
  EXPECT_TRUE(LastLog().ends_with("Image saved to " + (base + ".png").toStdString()));

  form->chartMenu().SaveImage();  // PDF, the extension already there in capitals
  QFile pdf(base + ".PDF");
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));

  const auto lines = form->log().Lines().size();
  form->chartMenu().SaveImage();  // cancelled: nothing
  EXPECT_EQ(form->log().Lines().size(), lines);

  dialogs.saveAnswers = {{dir.filePath("no/such/folder/chart"), 0}};
  form->chartMenu().SaveImage();
  EXPECT_TRUE(LastLog().ends_with("Fail to save image to " + dir.filePath("no/such/folder/chart.png").toStdString()));
  EXPECT_EQ(form->log().Lines().back().colour, LogRed);
}

TEST_F(WindowTest, SaveImageAsksBeforeItsAppendedExtensionReplacesAFile) {
  QFile existing(dir.filePath("chart.png"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("keep");
  existing.close();
  dialogs.saveAnswers = {{dir.filePath("chart"), 0}};
  dialogs.confirmAnswers = {false};
  form->chartMenu().SaveImage();
  EXPECT_TRUE(dialogs.asked.last().startsWith("Confirm " + dir.filePath("chart.png") + " already exists."));
  ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
  EXPECT_EQ(existing.readAll(), "keep");
}

TEST_F(WindowTest, CopyImagePutsTheChartOnTheClipboard) {
  QApplication::clipboard()->clear();
  form->chartMenu().CopyImage();
  const QImage copied = QApplication::clipboard()->image();
  ASSERT_FALSE(copied.isNull());
  EXPECT_EQ(copied.size(), form->Chart1->size() * form->Chart1->devicePixelRatioF());
  EXPECT_GT(Colours(copied), 8);
}

TEST_F(WindowTest, LogCopiesTheSelectionOrTheLineUnderThePointer) {
  QPlainTextEdit* log = form->RichEdit1;
  QStringList texts;
  for (QAction* a : form->PopupMenu1->actions()) {
    if (!a->isSeparator()) texts << a->text();
  }
  EXPECT_EQ(texts, (QStringList{"&Clear", "&Save as", "&Copy", "Select &All"}));

  form->log().Clear();
  form->log().LogMessage("first line", LogBlue);
  form->log().LogMessage("second line", LogRed);
  form->log().LogMessage("third line", LogBlue);
  LogCopyActions& copy = form->logCopy();

  // Nothing selected: the line under the pointer, whole.
  const QRect second = log->cursorRect(QTextCursor(log->document()->findBlockByNumber(1)));
  emit log->customContextMenuRequested(second.center() + QPoint(30, 0));
  copy.copyAction()->trigger();
  EXPECT_TRUE(QApplication::clipboard()->text().endsWith("] second line"));
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("["));

  // A selection across lines, as the mouse makes it: copied as it is.
  const QPoint from = log->cursorRect(QTextCursor(log->document()->findBlockByNumber(0))).center();
  const QPoint to = log->cursorRect(QTextCursor(log->document()->findBlockByNumber(2))).center();
  QTest::mousePress(log->viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(log->viewport(), to + QPoint(30, 0));
  QTest::mouseRelease(log->viewport(), Qt::LeftButton, {}, to + QPoint(30, 0));
  ASSERT_TRUE(log->textCursor().hasSelection());
  copy.copyAction()->trigger();
  const QString copied = QApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith("[")) << copied.toStdString();
  EXPECT_TRUE(copied.contains("] first line\n[")) << copied.toStdString();
  EXPECT_TRUE(copied.contains("] second line\n[")) << copied.toStdString();
  EXPECT_FALSE(copied.contains("third line")) << copied.toStdString();

  copy.selectAllAction()->trigger();
  copy.copyAction()->trigger();
  const QStringList lines = QApplication::clipboard()->text().split('\n');
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[2].endsWith("] third line"));
}

// The production dialogs, offscreen: each file dialog opens where it was
// last used; Load From first opens in the auto-save folder.
TEST(QtDialogsFolders, EachDialogOpensWhereItWasLastUsed) {
  QTemporaryDir autoSave, other, third;
  QtDialogs dialogs;
  dialogs.folders().SetFirstFolder("Load From", [&] { return autoSave.path() + "/"; });
  QFile file(other.filePath("a.bin"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  // Answers the next file dialog: records the folder it shows, then chooses
  // `choose` (or cancels for an empty one).
  QString shown;
  const auto answer = [&](const QString& choose) {
    QTimer::singleShot(0, [&shown, choose] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      shown = dialog->directory().absolutePath();
      if (choose.isEmpty()) return dialog->reject();
      dialog->selectFile(choose);
      static_cast<QDialog*>(dialog)->accept();  // as its OK button does
    });
  };
  answer("");
  EXPECT_TRUE(dialogs.OpenFile("Load From", {"bin file (*.bin)"}).path.isEmpty());
  EXPECT_EQ(shown, autoSave.path());
  answer(other.filePath("a.bin"));
  EXPECT_EQ(dialogs.OpenFile("Load From", {"bin file (*.bin)"}).path, other.filePath("a.bin"));
  answer("");
  dialogs.OpenFile("Load From", {"bin file (*.bin)"});
  EXPECT_EQ(shown, other.path());

  answer(third.filePath("log"));
  EXPECT_EQ(dialogs.SaveFile("Save as", {"txt file (*.txt)", "all file (*)"}, 0, false).path,
            third.filePath("log"));
  answer("");
  dialogs.SaveFile("Save as", {"txt file (*.txt)", "all file (*)"}, 0, false);
  EXPECT_EQ(shown, third.path());
  answer("");  // Save As has a memory of its own: not where the log went
  dialogs.SaveFile("Save As", {"bin file (*.bin)", "txt file (*.txt)"}, 0, true);
  EXPECT_EQ(shown, QDir::currentPath());
  answer("");  // nor Load From
  dialogs.OpenFile("Load From", {"bin file (*.bin)"});
  EXPECT_EQ(shown, other.path());
}

}  // namespace
}  // namespace trelvan
