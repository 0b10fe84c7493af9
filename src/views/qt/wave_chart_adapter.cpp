#include "views/qt/wave_chart_adapter.h"

#include "views/qt/handler_guard.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <exception>
#include <qcustomplot.h>

#include "views/qt/wave_chart_style.h"
#include "views/qt/trace_colour_key.h"
#include "views/qt/wave_qcp_port.h"
#include "views/qt/wave_readout_label.h"
#include "views/wave_chart.h"
#include "views/wave_y_axis.h"

namespace trelvan {

WaveChartAdapter::WaveChartAdapter(const SampleStore& store, WaveWidgets widgets, LogFunction log,
                                   QObject* parent)
    : QObject(parent), widgets_(widgets) {
  StyleWaveChart(*widgets_.chart1);
  port_ = std::make_unique<QcpWavePort>(widgets_.chart1, widgets_.edit13, std::move(log));
  chart_ = std::make_unique<WaveChart>(store, *port_);
  yAxis_ = std::make_unique<WaveYAxis>(*port_);
  chart_->ShowDesignState();
  yAxis_->ShowDesignState();
  for (int ch = 0; ch < Channels; ++ch) {
    if (QCheckBox* check = widgets_.traceChecks[ch]) chart_->SetTraceVisible(ch, check->isChecked());
  }
  ShowTraceColours(*widgets_.chart1, widgets_.traceChecks);
  readout_ = new WaveReadoutLabel(widgets_.chart1, store, [this] { return chart_->waveStart(); });
  errorHandler_ = [chart1 = widgets_.chart1](const std::string& text) {
    QMessageBox::critical(chart1->window(), QStringLiteral("Trelvan"), QString::fromStdString(text));
  };
  Connect();
}

// The readout asks the chart logic for the window's start: it goes first.
WaveChartAdapter::~WaveChartAdapter() { delete readout_.data(); }

const WaveReadoutLabel& WaveChartAdapter::readout() const { return *readout_; }

void WaveChartAdapter::AppendWaveRows(uint32_t newCycles) { chart_->AppendWaveRows(newCycles); }
void WaveChartAdapter::ClearWaveSeries() { chart_->ClearWaveSeries(); }
void WaveChartAdapter::RefreshWaveLabels() { chart_->RefreshWaveLabels(); }
void WaveChartAdapter::LimitWaveZoom() { chart_->LimitWaveZoom(); }
void WaveChartAdapter::ResetWaveStart() { chart_->ResetWaveStart(); }
void WaveChartAdapter::Button13Click() { chart_->Button13Click(); }
uint32_t WaveChartAdapter::waveStart() const { return chart_->waveStart(); }
uint32_t WaveChartAdapter::waveDivision() const { return chart_->waveDivision(); }

void WaveChartAdapter::SetErrorHandler(std::function<void(const std::string&)> handler) {
  errorHandler_ = std::move(handler);
}

template <class Handler>
void WaveChartAdapter::Guarded(Handler handler) noexcept {
  RunGuarded(errorHandler_, handler);
}

void WaveChartAdapter::Connect() {
  const auto button = [this](QPushButton* b, void (WaveChart::*handler)()) {
    if (!b) return;
    connect(b, &QPushButton::clicked, this, [this, handler] { Guarded([&] { (*chart_.*handler)(); }); });
  };
  button(widgets_.button11, &WaveChart::Button11Click);
  button(widgets_.button12, &WaveChart::Button12Click);
  button(widgets_.button13, &WaveChart::Button13Click);
  button(widgets_.button14, &WaveChart::Button14Click);
  button(widgets_.button15, &WaveChart::Button15Click);
  button(widgets_.button16, &WaveChart::Button16Click);
  button(widgets_.button17, &WaveChart::Button17Click);
  button(widgets_.button18, &WaveChart::Button18Click);
  if (widgets_.button19) {
    connect(widgets_.button19, &QPushButton::clicked, this, [this] {
      Guarded([&] { chart_->Button19Click(widgets_.edit13->text().toStdString()); });
    });
  }

  const auto yButton = [this](QPushButton* b, void (WaveYAxis::*handler)()) {
    if (!b) return;
    connect(b, &QPushButton::clicked, this, [this, handler] { Guarded([&] { (*yAxis_.*handler)(); }); });
  };
  yButton(widgets_.button21, &WaveYAxis::Button21Click);
  yButton(widgets_.button22, &WaveYAxis::Button22Click);
  yButton(widgets_.button23, &WaveYAxis::Button23Click);
  yButton(widgets_.button24, &WaveYAxis::Button24Click);

  for (int ch = 0; ch < Channels; ++ch) {
    QCheckBox* check = widgets_.traceChecks[ch];
    if (!check) continue;
    // toggled: a change made by the program shows or hides the trace too.
    connect(check, &QCheckBox::toggled, this,
            [this, ch](bool checked) { Guarded([&] { chart_->SetTraceVisible(ch, checked); }); });
  }
}

}  // namespace trelvan
