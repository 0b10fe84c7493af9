#pragma once
// The colour key: each trace check box shows its trace's colour, as a
// swatch before its caption and as the caption's colour, taken from the
// graph's own pen so that the key can never differ from the traces.

#include <QCheckBox>
#include <array>

#include "acquisition/sample_store.h"

class QCustomPlot;

namespace trelvan {

// Check box `ch` keys graph `ch` of `chart1`; null check boxes are skipped.
void ShowTraceColours(const QCustomPlot& chart1, const std::array<QCheckBox*, Channels>& checks);

}  // namespace trelvan
