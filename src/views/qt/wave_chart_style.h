#pragma once
// The look of Chart1: eight line graphs AN1..AN8 without point markers, a
// bottom axis "Samples" and a left axis "Volts" that draw only their custom
// labels, right and top axes hidden, no mouse zoom or pan.

class QCustomPlot;

namespace trelvan {

// Adds graphs until there are eight and styles the chart. Numbers on the
// axes come as texts from the waveform logic, with a decimal point always.
void StyleWaveChart(QCustomPlot& chart1);

}  // namespace trelvan
