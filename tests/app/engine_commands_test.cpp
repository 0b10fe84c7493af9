// Every command a user gives, in every state of a run, answers the same
// whether the engine reads the FIFO on its own thread or the window's tick
// reads it: the same log lines in the same order, the same questions, the
// same state of the run and of the controls. Each case runs once each way
// on the simulated module (clock driven by hand, ticks given by hand) and
// the two are compared.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <ostream>
#include <thread>

#include "acquisition/acquisition_engine.h"
#include "acquisition/run_health.h"
#include "app/main_form.h"
#include "app/parts/file_operations.h"
#include "device/linked/linked_device_library.h"
#include "files/file_test_support.h"
#include "kavrel_sim.h"
#include "support/fake_device_library.h"
#include "support/scripted_dialogs.h"
#include "support/top_rate_window.h"

namespace trelvan {
namespace {

constexpr uint32_t CommandsCapacity = 100'000;
constexpr uint32_t CyclesPerPoll = 20'000;  // five polls fill the store

enum class RunState { Idle, Sampling, Paused, AutoSaving };
enum class Command { StartStop, ReadOnce, SetConfig, ClearBuff, LoadFrom, Connect, Reset, Dfu };

const char* Name(RunState s) {
  static const char* names[] = {"Idle", "Sampling", "Paused", "AutoSaving"};
  return names[static_cast<int>(s)];
}
const char* Name(Command c) {
  static const char* names[] = {"StartStop", "ReadOnce", "SetConfig", "ClearBuff",
                                "LoadFrom",  "Connect",  "Reset",     "Dfu"};
  return names[static_cast<int>(c)];
}

// What a user sees after the command.
struct Outcome {
  QStringList log;    // every line, without its time stamp
  QStringList asked;  // the questions and boxes, in order
  bool running = false;
  int device = 0;
  uint32_t rows = 0;
  uint32_t trigCnt = 0;
  QString panel0, controls;
  bool operator==(const Outcome&) const = default;
};
void PrintTo(const Outcome& o, std::ostream* os) {
  *os << "running " << o.running << ", device " << o.device << ", rows " << o.rows << ", trigCnt "
      << o.trigCnt << ", panel0 " << o.panel0.toStdString() << ", controls "
      << o.controls.toStdString() << "\n  log:\n    " << o.log.join("\n    ").toStdString()
      << "\n  asked:\n    " << o.asked.join("\n    ").toStdString();
}

class OneWay {
 public:
  explicit OneWay(PollMode mode) : mode_(mode) {
    KavrelSim_Reset();
    KavrelSim_SetManualClock(1);
    KavrelSim_SelectSource(KAVREL_SIM_SEQUENCE);
    medium_.syncGate.OpenForGood();
    form_ = std::make_unique<TMainForm>(device_, dialogs_, CommandsCapacity, mode);
    form_->SetSteadyClock([this] { return pcClockUs_.load(); });
    form_->SetEngineIntervalMs(1);
    form_->FormCreate();
    form_->files().SetFileWriter(medium_);
    testing::ConnectAtOneMicrosecond(*form_, dir_.path());
  }
  ~OneWay() {
    medium_.syncGate.OpenForGood();
    form_->close();
    form_.reset();
    KavrelSim_Reset();
  }

  void Reach(RunState state) {
    Start();
    switch (state) {
      case RunState::Idle:
        Polls(2);
        form_->Button1Click();
        break;
      case RunState::Sampling:
        Polls(2);
        EXPECT_EQ(form_->acq.store.cycleCount, 2 * CyclesPerPoll);
        break;
      case RunState::Paused: {
        // The folder is gone: the first store's write fails, the second
        // store fills and cannot be handed over.
        away_ = dir_.path() + "-away";
        QDir().rename(dir_.path(), away_);
        Polls(5);
        Settle();
        Polls(5);
        EXPECT_TRUE(form_->acq.store.full() && AcquisitionPaused(form_->acq));
        break;
      }
      case RunState::AutoSaving:
        medium_.syncGate.Close();
        writerHeld_ = true;
        Polls(5);  // the full store is handed over; its flush is held
        EXPECT_TRUE(medium_.syncGate.WaitArrived(1));
        Polls(1);
        EXPECT_EQ(form_->files().UnwrittenCycles(), CommandsCapacity);
        break;
    }
    if (!writerHeld_) Settle();
  }

  Outcome Give(Command command) {
    QPushButton* button = nullptr;
    switch (command) {
      case Command::StartStop: button = form_->Button1; break;
      case Command::ReadOnce: button = form_->Button6; break;
      case Command::SetConfig: button = form_->Button2; break;
      case Command::ClearBuff: button = form_->Button9; break;
      case Command::LoadFrom: button = form_->Button27; break;
      case Command::Connect: button = form_->Button7; break;
      case Command::Reset: button = form_->Button20; break;
      case Command::Dfu: button = form_->Button5; break;
    }
    if (button->isEnabled()) {  // as a user can
      dialogs_.confirmAnswers.push_back(true);
      dialogs_.openAnswers.push_back({LoadFile(), 0});
      button->click();
      // A load's pieces and end, and the writer's results, arrive as reports
      // (a writer held at the gate stays busy).
      QElapsedTimer waited;
      waited.start();
      while ((form_->files().Loading() || (form_->files().Busy() && !writerHeld_)) &&
             waited.elapsed() < 10'000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      }
      KavrelSim_WaitNotifications(5'000);  // DFU mode: the module leaves the bus
      QCoreApplication::processEvents();
    }
    return Seen(button->isEnabled());
  }

 private:
  void Start() {
    form_->Button1Click();
    form_->Timer1->stop();  // the test gives the ticks
  }
  // `n` polls' worth of cycles, each read and stored.
  void Polls(int n) {
    for (int i = 0; i < n; ++i) {
      KavrelSim_AdvanceClock(CyclesPerPoll);
      pcClockUs_ += CyclesPerPoll;
      if (AcquisitionEngine* engine = form_->engine(); engine != nullptr && engine->running()) {
        const uint64_t reads = engine->readsTaken();
        QElapsedTimer waited;
        waited.start();
        while (engine->readsTaken() < reads + 2 && waited.elapsed() < 10'000) {
          std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
      }
      form_->Timer1Timer();
      QCoreApplication::processEvents();
    }
  }
  void Settle() {
    QElapsedTimer waited;
    waited.start();
    while (form_->files().Busy() && waited.elapsed() < 10'000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
  }
  QString LoadFile() {
    const QString path = QDir(QDir::tempPath()).filePath("engine-commands-load.bin");
    testing::WriteAll(path.toStdString(), testing::SequenceCycles(10, 0));
    return path;
  }
  Outcome Seen(bool) {
    Outcome o;
    for (const LogLine& l : form_->log().Lines()) {
      QString text = QString::fromStdString(l.text);
      text.remove(QRegularExpression("^\\[[^]]*\\] "));
      if (text.startsWith("start sample... ")) text = "start sample... <now>";
      text.replace(dir_.path(), "<dir>");
      if (!away_.isEmpty()) text.replace(away_, "<away>");
      // Auto-save names are the date and time of the save.
      text.replace(QRegularExpression("\\d\\d [A-Z][a-z][a-z] \\d{4} \\d\\d-\\d\\d-\\d\\d"), "<time>");
      o.log << text + " #" + QString::number(l.colour, 16);
    }
    for (QString a : dialogs_.asked) o.asked << a.replace(dir_.path(), "<dir>");
    o.running = IsRunning(form_->acq.adcConfig);
    o.device = form_->acq.deviceIndex;
    o.rows = form_->acq.store.cycleCount;
    o.trigCnt = form_->acq.adcConfig.trigCnt;
    o.panel0 = form_->StatusPanel(0)->text();
    for (QPushButton* b : {form_->Button1, form_->Button2, form_->Button5, form_->Button6,
                           form_->Button7, form_->Button9, form_->Button20, form_->Button27}) {
      o.controls += b->text() + (b->isEnabled() ? "+ " : "- ");
    }
    return o;
  }

  PollMode mode_;
  QTemporaryDir dir_;
  QString away_;
  bool writerHeld_ = false;
  LinkedDeviceLibrary device_;
  testing::ScriptedDialogs dialogs_;
  testing::GatedWriter medium_;
  std::atomic<int64_t> pcClockUs_{1'000'000};
  std::unique_ptr<TMainForm> form_;
};

struct CommandCase {
  RunState state;
  Command command;
};
void PrintTo(const CommandCase& c, std::ostream* os) { *os << Name(c.state) << "/" << Name(c.command); }

class EngineCommands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(EngineCommands, AnswerAsTheWindowsOwnPollDid) {
  Outcome byHand, engine;
  {
    OneWay way(PollMode::ByHand);
    way.Reach(GetParam().state);
    byHand = way.Give(GetParam().command);
  }
  {
    OneWay way(PollMode::Engine);
    way.Reach(GetParam().state);
    engine = way.Give(GetParam().command);
  }
  EXPECT_EQ(engine, byHand);
}

std::vector<CommandCase> AllCases() {
  std::vector<CommandCase> cases;
  for (RunState s : {RunState::Idle, RunState::Sampling, RunState::Paused, RunState::AutoSaving}) {
    for (Command c : {Command::StartStop, Command::ReadOnce, Command::SetConfig, Command::ClearBuff,
                      Command::LoadFrom, Command::Connect, Command::Reset, Command::Dfu}) {
      cases.push_back({s, c});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(StatesAndCommands, EngineCommands, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<CommandCase>& info) {
                           return std::string(Name(info.param.state)) + "_" + Name(info.param.command);
                         });

}  // namespace
}  // namespace trelvan
