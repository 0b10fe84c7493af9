#include "views/table_view.h"

#include <algorithm>

#include "format/fixed_format.h"

namespace trelvan {

DataTable::DataTable(const SampleStore& store, const std::array<ChannelStats, Channels>& stats,
                     TableWidgetPorts widgets)
    : store_(store), stats_(stats), widgets_(widgets),
      pageText_(std::size_t{TablePageRows} * (TableRowMaxChars + 1), '\0') {}

void DataTable::RenderTableRows(uint32_t first, uint32_t count) {
  // Rows at and past cycleCount hold stale data and are never shown.
  const uint32_t cycles = store_.cycleCount;
  count = first >= cycles ? 0 : std::min({count, TablePageRows, cycles - first});
  if (count == 0) return;
  char* const start = pageText_.data();
  char* out = start;
  for (uint32_t i = 0; i < count; ++i) {
    out = AppendTableRow(out, store_, first + i, hexView);
    *out++ = '\n';
  }
  widgets_.textBox.AppendLines(std::string_view(start, static_cast<size_t>(out - start)));
  ShowCurrentRow(cycles - 1);
  tableScrollPos = widgets_.scrollBar.Position();
}

void DataTable::RenderPage(uint32_t first, uint32_t count) {
  widgets_.textBox.Clear();
  RenderTableRows(first, count);
}

void DataTable::ShowNewestRows(uint32_t newCycles) {
  const uint32_t cycles = store_.cycleCount;
  const uint32_t room = TablePageRows - std::min(tableShownRows, TablePageRows);
  if (room == 0 || room < newCycles) {
    // A full page of the newest rows (fewer only if the store holds fewer).
    tableShownRows = std::min(TablePageRows, cycles);
    tableFirstRow = cycles - tableShownRows;
    RenderPage(tableFirstRow, tableShownRows);
  } else {
    RenderTableRows(tableFirstRow + tableShownRows, newCycles);
    tableShownRows += newCycles;
  }
  widgets_.scrollBar.SetMaximum(cycles <= TablePageRows ? 0 : cycles - 1);
  // Before the position moves, so the change it raises finds no movement.
  tableScrollPos = cycles == 0 ? 0 : cycles - 1;
  widgets_.scrollBar.SetPosition(tableScrollPos);
  if (tableShownRows > 0 && !widgets_.surroundings.WaveformPageActive()) {
    Highlight(tableShownRows - 1);
  }
}

void DataTable::ScrollBar1Change() {
  const uint32_t cycles = store_.cycleCount;
  if (cycles == 0) return;
  const uint32_t p = widgets_.scrollBar.Position();
  const uint32_t lastPageFirst = cycles > TablePageRows ? cycles - TablePageRows : 0;
  if (p > tableScrollPos) {
    const uint64_t moved = uint64_t{tableFirstRow} + (p - tableScrollPos);
    tableFirstRow = moved + TablePageRows < cycles ? static_cast<uint32_t>(moved) : lastPageFirst;
  } else if (p < tableScrollPos) {
    const uint32_t d = tableScrollPos - p;
    tableFirstRow = tableFirstRow >= d ? tableFirstRow - d : 0;
  } else {
    return;
  }
  RenderPage(tableFirstRow, TablePageRows);
}

void DataTable::RichEdit2Click() {
  const uint32_t line = widgets_.textBox.CaretLine();
  if (line >= tableShownRows) return;
  ShowCurrentRow(tableFirstRow + line);
  Highlight(line);
}

void DataTable::Button8Click() {
  hexView = !hexView;
  widgets_.surroundings.SetModeCaption(hexView ? "Switch to TXT" : "Switch to HEX");
  if (store_.cycleCount == 0) return;
  RenderPage(tableFirstRow, tableShownRows);
  if (tableShownRows > 0) Highlight(tableShownRows - 1);
}

void DataTable::ShowCurrentRow(uint32_t row) {
  if (row >= store_.cycleCount) return;
  const float* volts = store_.voltsRow(row);
  char text[FixedMaxChars + 3];
  for (int ch = 0; ch < Channels; ++ch) {
    const char* end = AppendCurrentText(text, volts[ch]);
    widgets_.statsBoxes.SetText(StatsColumn::Current, ch,
                                std::string_view(text, static_cast<size_t>(end - text)));
  }
}

void DataTable::ShowChannelStats() {
  char text[FixedMaxChars];
  const auto put = [&](StatsColumn column, int ch, double value) {
    const char* end = AppendFixed6(text, value);
    widgets_.statsBoxes.SetText(column, ch, std::string_view(text, static_cast<size_t>(end - text)));
  };
  for (int ch = 0; ch < Channels; ++ch) {
    const double maxVolts = stats_[ch].maxVolts;
    const double minVolts = stats_[ch].minVolts;
    put(StatsColumn::MaxVol, ch, maxVolts);
    put(StatsColumn::MinVol, ch, minVolts);
    put(StatsColumn::PkPk, ch, maxVolts - minVolts);
  }
}

void DataTable::ResetTableView() {
  widgets_.textBox.Clear();
  tableFirstRow = 0;
  tableShownRows = 0;
  widgets_.scrollBar.SetMaximum(0);
  if (hexView) {
    hexView = false;
    widgets_.surroundings.SetModeCaption("Switch to HEX");
  }
}

void DataTable::ClearStatsDisplay() {
  for (StatsColumn column :
       {StatsColumn::Current, StatsColumn::MaxVol, StatsColumn::MinVol, StatsColumn::PkPk}) {
    for (int ch = 0; ch < Channels; ++ch) widgets_.statsBoxes.SetText(column, ch, {});
  }
}

void DataTable::Highlight(uint32_t line) {
  widgets_.textBox.Select(line * TableRowChars, TableRowChars);
}

}  // namespace trelvan
