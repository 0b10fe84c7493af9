#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "acquisition/run_health.h"
#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "app/parts/locale_texts.h"
#include "app/parts/mnemonics.h"
#include "device/log_colours.h"
#include "files/file_test_support.h"
#include "support/fake_device_library.h"
#include "support/file_work_settle.h"
#include "support/scripted_dialogs.h"

namespace trelvan {
namespace {

struct MainFormFixture : ::testing::Test {
  testing::FakeDeviceLibrary device;
  testing::ScriptedDialogs dialogs;
  std::unique_ptr<TMainForm> form;

  void SetUp() override {
    device.openResult = 0;
    device.config.modeBits = 0x30;
    device.config.trigBits = 0x01;
    device.config.wPeriod = 100;
    form = std::make_unique<TMainForm>(device, dialogs, 1000, PollMode::ByHand);
    form->FormCreate();
  }
  void TearDown() override {
    if (form) form->close();
    form.reset();
  }
  std::vector<LogLine> Log() { return form->log().Lines(); }
  std::string LastLog() {
    const auto lines = Log();
    return lines.empty() ? std::string() : lines.back().text;
  }
  void Click(QPushButton* b) {
    ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    b->click();
  }
  std::vector<QPushButton*> Operations() {
    return {form->Button7, form->Button2, form->Button1,  form->Button6,  form->Button8, form->Button27,
            form->Button4, form->Button9, form->Button5,  form->Button25, form->Button20, form->Button3};
  }
};

TEST_F(MainFormFixture, StartUpState) {
  const auto lines = Log();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].text.ends_with("] Welcome to use Trelvan software"));
  EXPECT_EQ(lines[0].colour, LogBlue);
  EXPECT_EQ(form->windowTitle(), "Trelvan <?\?\?>");
  QStringList enabled;
  for (QPushButton* b : Operations()) {
    if (b->isEnabled()) enabled << PlainCaption(b->text());
  }
  EXPECT_EQ(enabled, (QStringList{"Connect", "Switch to Hex", "Load From", "Save As"}));
  EXPECT_EQ(PlainCaption(form->Button1->text()), "StartSample");
  EXPECT_EQ(form->Edit45->text(), QCoreApplication::applicationDirPath() + "/data/");
  EXPECT_EQ(form->StatusPanel(0)->text(), "Disconnected");
  EXPECT_EQ(form->StatusPanel(1)->text(), "Total Cycles: 0");
  EXPECT_EQ(form->Edit1->text(), "100");
  EXPECT_EQ(form->ComboBox6->currentText(), "MS");
  EXPECT_EQ(form->size(), QSize(1189, 611));
  EXPECT_TRUE(form->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_EQ(form->Timer1->interval(), 250);
  ASSERT_EQ(device.count("SetUSBNotify"), 1);
  EXPECT_EQ(device.calls[0].arg, 1u);
  EXPECT_EQ(form->acq.fullScaleVolts, 10.0f);
  EXPECT_EQ(form->acq.readChunkCycles, 1'600'000);
}

TEST_F(MainFormFixture, ConnectAndDisconnect) {
  device.dfuPin = 0;
  Click(form->Button7);
  EXPECT_TRUE(LastLog().ends_with("The device has connected!"));
  EXPECT_EQ(form->windowTitle(), "Trelvan<SN-0001>");
  EXPECT_EQ(PlainCaption(form->Button7->text()), "Disconnect");
  EXPECT_EQ(form->StatusPanel(0)->text(), "Connected");
  EXPECT_FALSE(form->CheckBox17->isChecked());
  for (QPushButton* b : Operations()) EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
  Click(form->Button7);
  EXPECT_TRUE(LastLog().ends_with("The device has disconnected!"));
  EXPECT_EQ(form->windowTitle(), "Trelvan <?\?\?>");
}

TEST_F(MainFormFixture, FailedOpenAndFailedConfigurationRead) {
  device.openResult = 255;
  Click(form->Button7);
  EXPECT_TRUE(LastLog().ends_with("Can't find Kavrel device!"));
  EXPECT_EQ(Log().back().colour, LogRed);
  device.openResult = 0;
  device.getConfigResult = 0;
  Click(form->Button7);
  EXPECT_TRUE(LastLog().ends_with("Fail to Kavrel_ADCGetConfig!"));
  EXPECT_EQ(form->windowTitle(), "Trelvan <?\?\?>");
  EXPECT_EQ(form->acq.deviceIndex, NoDevice);
}

TEST_F(MainFormFixture, RemovalNoticeFromAnotherThread) {
  Click(form->Button7);
  ASSERT_NE(device.callback, nullptr);
  const auto post = [&](uint8_t index, uint32_t status) {
    std::thread([&] { device.callback(index, status); }).join();
    QCoreApplication::processEvents();
  };
  post(0, 0x80);  // an arrival: ignored
  post(1, 0x00);  // another module: ignored
  EXPECT_EQ(form->acq.deviceIndex, 0);
  post(0, 0x00);
  EXPECT_EQ(form->acq.deviceIndex, NoDevice);
  EXPECT_EQ(form->windowTitle(), "Trelvan <?\?\?>");
  EXPECT_TRUE(LastLog().ends_with("The device has connected!")) << "a removal logs nothing";
  EXPECT_EQ(device.count("CloseDevice"), 0);
}

// Unplug and plug, then Disconnect and Connect before the window handles the
// removal: the queued notice belongs to the old connection and leaves the new
// one alone.
TEST_F(MainFormFixture, StaleRemovalNoticeKeepsTheNewConnection) {
  Click(form->Button7);
  std::thread([&] { device.callback(0, 0x00); }).join();  // queued, not yet handled
  Click(form->Button7);
  Click(form->Button7);
  ASSERT_EQ(form->acq.deviceIndex, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(form->acq.deviceIndex, 0);
  EXPECT_EQ(PlainCaption(form->Button7->text()), "Disconnect");
  EXPECT_EQ(form->StatusPanel(0)->text(), "Connected");
  // A removal of this connection still ends it.
  std::thread([&] { device.callback(0, 0x00); }).join();
  QCoreApplication::processEvents();
  EXPECT_EQ(form->acq.deviceIndex, NoDevice);
}

TEST_F(MainFormFixture, RunningBitOnConnectOffersStop) {
  device.config.trigBits = 0x81;
  Click(form->Button7);
  EXPECT_EQ(PlainCaption(form->Button1->text()), "StopSample");
  EXPECT_FALSE(form->Button2->isEnabled());
  EXPECT_FALSE(form->Timer1->isActive());
  Click(form->Button1);
  EXPECT_EQ(PlainCaption(form->Button1->text()), "StartSample");
  EXPECT_EQ(device.count("ADCStop"), 1);
}

TEST_F(MainFormFixture, StartPollStopAndReadOnce) {
  Click(form->Button7);
  Click(form->Button1);
  EXPECT_TRUE(form->Timer1->isActive());
  EXPECT_EQ(form->Timer1->interval(), 200);
  EXPECT_EQ(PlainCaption(form->Button1->text()), "StopSample");
  EXPECT_FALSE(form->Button6->isEnabled());
  EXPECT_NE(LastLog().find("start sample... "), std::string::npos);

  device.fifoChunks.push_back(testing::SequenceCycles(40));
  form->Timer1Timer();
  EXPECT_EQ(form->acq.store.cycleCount, 40u);
  EXPECT_TRUE(LastLog().ends_with("Left = 0 ,current trigCnt is 40 and read 640 bytes!"));
  EXPECT_EQ(form->StatusPanel(1)->text(), "Total Cycles: 40");

  Click(form->Button1);
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_EQ(PlainCaption(form->Button1->text()), "StartSample");
  EXPECT_EQ(form->acq.store.cycleCount, 40u);

  Click(form->Button6);
  EXPECT_EQ(form->acq.store.cycleCount, 41u);
  EXPECT_EQ(form->acq.adcConfig.trigCnt, 41u);
}

// A load reads into the store's own rows while no acquisition runs: Read
// Once waits for its end (here the load's first read is held).
TEST_F(MainFormFixture, ReadOnceWaitsForALoadIntoTheStore) {
  Click(form->Button7);
  testing::Gate gate;
  testing::PatternReader reader(3 * CycleBytes);
  reader.beforeRead = [&](uint64_t) { gate.Pass(); };
  form->files().SetFileReader(reader);
  dialogs.openAnswers.push_back({"held.bin", 0});
  Click(form->Button27);
  ASSERT_TRUE(form->files().LoadingIntoStore());
  Click(form->Button6);
  EXPECT_TRUE(LastLog().ends_with(LoadRunningMessage())) << LastLog();
  EXPECT_EQ(Log().back().colour, LogRed);
  EXPECT_EQ(form->acq.store.cycleCount, 0u);

  gate.OpenForGood();
  testing::SettleFileWork(*form);
  EXPECT_EQ(form->acq.store.cycleCount, 3u);
  Click(form->Button6);
  EXPECT_EQ(form->acq.store.cycleCount, 4u);
}

// The start line carries the start's own date and time; the Factor boxes take
// a point or a comma whatever the locale.
TEST_F(MainFormFixture, StartLineDateAndFactorSeparators) {
  // Run under de_DE as well (its own ctest entry): there the locale must be in force.
  if (const char* all = std::getenv("LC_ALL"); all != nullptr && std::string_view(all).starts_with("de_DE")) {
    ASSERT_EQ(QLocale::system().decimalPoint(), ",") << "the locale " << all << " did not take effect";
  }
  Click(form->Button7);
  form->findChild<QLineEdit*>("Edit40")->setText("2,5");
  const auto text = [](const QDateTime& when) {
    const DateTimeTexts t = LocaleDateTimeTexts(when);
    return "start sample... " + (t.date + " " + t.time).toStdString();
  };
  const std::string before = text(QDateTime::currentDateTime());
  Click(form->Button1);
  const std::string after = text(QDateTime::currentDateTime());
  EXPECT_TRUE(LastLog().ends_with(before) || LastLog().ends_with(after)) << LastLog();
  EXPECT_TRUE(IsRunning(form->acq.adcConfig));
  EXPECT_EQ(std::count(form->acq.channelFactor.begin(), form->acq.channelFactor.end(), 2.5f), 1);
  EXPECT_EQ(std::count(form->acq.channelFactor.begin(), form->acq.channelFactor.end(), 1.0f), 7);
}

TEST_F(MainFormFixture, FailuresOfTheSamplingCalls) {
  Click(form->Button7);
  device.startResult = 0;
  Click(form->Button1);
  EXPECT_TRUE(LastLog().ends_with("Fail to call Kavrel_ADCStart!"));
  EXPECT_FALSE(form->Timer1->isActive());
  device.readResult = 0;
  Click(form->Button6);
  EXPECT_TRUE(LastLog().ends_with("Fail to call Kavrel_ADCRead!"));
  device.startResult = 1;
  Click(form->Button1);
  device.stopResult = 0;
  Click(form->Button1);
  EXPECT_TRUE(LastLog().ends_with("Fail to call Kavrel_ADCStop!"));
  EXPECT_TRUE(form->Timer1->isActive());
  EXPECT_EQ(PlainCaption(form->Button1->text()), "StopSample");
}

TEST_F(MainFormFixture, ABadFactorBoxIsShownInTheErrorBoxAndChangesNothing) {
  Click(form->Button7);
  form->factorBoxes[2]->setText("2,5x");
  Click(form->Button1);
  ASSERT_FALSE(dialogs.asked.isEmpty());
  EXPECT_EQ(dialogs.asked.last(), "Error Trelvan: '2,5x' is not a valid floating point value");
  EXPECT_EQ(device.count("ADCStart"), 0);
  EXPECT_EQ(PlainCaption(form->Button1->text()), "StartSample");
  // An empty auto-save folder: a message box and nothing else.
  form->factorBoxes[2]->setText("1");
  form->Edit45->setText("");
  Click(form->Button1);
  EXPECT_EQ(dialogs.asked.last(), "Information AutoSave path empty!!!");
  EXPECT_EQ(device.count("ADCStart"), 0);
}

TEST_F(MainFormFixture, DfuModeAskedFirst) {
  Click(form->Button7);
  dialogs.confirmAnswers = {false, true};
  Click(form->Button5);
  EXPECT_EQ(dialogs.asked.last(), "Confirm Are you sure to enter dfu mode?");
  EXPECT_EQ(device.count("DFUMode"), 0);
  Click(form->Button5);
  EXPECT_EQ(device.count("DFUMode"), 1);
  EXPECT_TRUE(LastLog().ends_with("Enter into DFU mode..."));
}

TEST_F(MainFormFixture, DfuPinResetAndClose) {
  Click(form->Button7);
  form->CheckBox17->setChecked(false);
  Click(form->Button25);
  EXPECT_EQ(device.calls.back().op, "DFUPinSet");
  EXPECT_EQ(device.calls.back().arg, 0u);
  Click(form->Button20);
  EXPECT_EQ(device.calls.back().op, "ADCReset");
  Click(form->Button1);  // sampling: closing does not stop it
  form->close();
  EXPECT_EQ(device.calls.back().op, "CloseDevice");
  EXPECT_EQ(device.count("ADCStop"), 0);
}

TEST_F(MainFormFixture, AFailedHotPlugRegistrationIsSaidAtStartUp) {
  EXPECT_EQ(Log().size(), 1u) << "registered: nothing to say";
  form->close();
  form.reset();
  device.notifyResult = 0;
  form = std::make_unique<TMainForm>(device, dialogs, 1000, PollMode::ByHand);
  form->FormCreate();
  const auto lines = Log();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[1].text.ends_with(
      "] Kavrel_SetUSBNotify failed: unplugging the module will not be noticed!"));
  EXPECT_EQ(lines[1].colour, LogRed);
}

TEST_F(MainFormFixture, RemovalAndDisconnectWhileSampling) {
  Click(form->Button7);
  Click(form->Button1);
  device.fifoChunks.push_back(testing::SequenceCycles(40));
  form->Timer1Timer();
  std::thread([&] { device.callback(0, 0x00); }).join();
  QCoreApplication::processEvents();
  EXPECT_EQ(form->acq.deviceIndex, NoDevice);
  EXPECT_TRUE(LastLog().ends_with("] The device was removed while sampling: 40 cycles are in the store"));
  EXPECT_EQ(Log().back().colour, LogRed);
  EXPECT_EQ(form->StatusPanel(0)->text(), "Disconnected");
  EXPECT_TRUE(form->Timer1->isActive()) << "the ticks go on against no module";

  // Reconnected (the module counts from 0 again): the store keeps its rows,
  // and so its total.
  device.config.trigCnt = 0;
  Click(form->Button7);
  EXPECT_EQ(form->StatusPanel(1)->text(), "Total Cycles: 40");
  EXPECT_EQ(form->acq.store.cycleCount, 40u);
  // Disconnect while sampling: the store and the total stay as they were.
  Click(form->Button7);
  EXPECT_EQ(form->acq.store.cycleCount, 40u);
  EXPECT_TRUE(LastLog().ends_with("The device has disconnected!"));
}

TEST_F(MainFormFixture, ClosingTheWindowClearsTheNoticeTarget) {
  Click(form->Button7);
  ASSERT_NE(device.callback, nullptr);
  int32_t posted = -1;
  std::thread([&] { posted = device.callback(0, 0x00); }).join();
  EXPECT_EQ(posted, 1);
  QCoreApplication::processEvents();
  Click(form->Button7);
  Click(form->Button7);
  form->close();
  std::thread([&] { posted = device.callback(0, 0x00); }).join();
  EXPECT_EQ(posted, 0) << "nothing is posted to a closed window";
  form.reset();
  std::thread([&] { posted = device.callback(0, 0x00); }).join();
  EXPECT_EQ(posted, 0);
}

TEST_F(MainFormFixture, APauseShowsOnPanelZeroAndEachRunsPauseIsLoggedAgain) {
  QTemporaryDir good;
  int64_t fileClockUs = 0;
  form->files().SetSteadyClock([&] {
    return AutoSaver::Clock::time_point(std::chrono::microseconds(fileClockUs));
  });
  const auto failureLines = [&] {
    int n = 0;
    for (const LogLine& l : Log()) n += l.text.find("] Auto-save to ") != std::string::npos;
    return n;
  };
  const auto settle = [&] { testing::SettleFileWork(*form); };
  const auto tick = [&] {
    form->Timer1Timer();
    settle();
  };
  Click(form->Button7);
  QLabel* panel0 = form->StatusPanel(0);
  const auto fillAndFail = [&](uint32_t first) {
    form->Edit45->setText("/nonexistent/trelvan-test/");
    Click(form->Button1);
    device.fifoChunks.push_back(testing::SequenceCycles(990, first));
    device.fifoChunks.push_back(testing::SequenceCycles(40, first + 990));
    device.fifoChunks.push_back(testing::SequenceCycles(1000, first + 1030));
    tick();
    EXPECT_NE(panel0->text(), "Paused: auto-save");
    tick();  // the store fills and goes to the writer, whose write fails
    tick();  // the next store fills while the first is unwritten: 30 cycles wait
    EXPECT_TRUE(form->acq.paused());
    EXPECT_EQ(panel0->text(), "Paused: auto-save");
    EXPECT_EQ(panel0->styleSheet(), "color: red;");
  };
  fillAndFail(0);
  EXPECT_EQ(failureLines(), 1);
  fileClockUs += 10'000'000;
  tick();  // tried again: the same failure is not logged again
  EXPECT_EQ(failureLines(), 1);

  Click(form->Button1);  // Stop: one more try, logged as a new episode
  settle();
  EXPECT_EQ(failureLines(), 2);
  EXPECT_EQ(panel0->text(), "Paused: auto-save") << "held cycles still wait";

  fileClockUs += 10'000'000;
  dialogs.chooseAnswers.push_back(0);  // Start: discard the first run's unsaved cycles
  fillAndFail(5000);  // a new run on the same folder, for the same reason
  EXPECT_GE(failureLines(), 3);

  dialogs.folderAnswers.push_back(good.path());
  Click(form->Button26);  // Change: saved, the pause ends
  settle();
  tick();
  settle();
  tick();
  EXPECT_FALSE(form->acq.paused());
  EXPECT_EQ(panel0->text(), "Connected");
  EXPECT_EQ(panel0->styleSheet(), "");
  bool summary = false;
  for (const LogLine& l : Log()) {
    summary |= l.colour == LogRed && l.text.find("] Acquisition was paused for an auto-save for ") != std::string::npos;
  }
  EXPECT_TRUE(summary) << ::testing::PrintToString(Log().size());
}

}  // namespace
}  // namespace trelvan
