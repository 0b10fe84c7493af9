#pragma once
// The table's widget interfaces on Qt widgets.

#include <array>

#include "views/table_widgets.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QWidget;

namespace trelvan {

// One line per row, each ended by its line break, so that a row of 110
// characters takes 111 document positions and line k starts at k x 111.
class PlainTextTableBox : public TableTextBox {
 public:
  explicit PlainTextTableBox(QPlainTextEdit* edit);
  void Clear() override;
  void AppendLines(std::string_view lines) override;
  // Clamped to the document; shown with setTextCursor.
  void Select(uint32_t start, uint32_t length) override;
  uint32_t CaretLine() const override;

 private:
  QPlainTextEdit* edit_;
};

class QtTableScrollBar : public TableScrollBar {
 public:
  explicit QtTableScrollBar(QScrollBar* bar) : bar_(bar) {}
  void SetMaximum(uint32_t maximum) override;
  void SetPosition(uint32_t position) override;
  uint32_t Position() const override;

 private:
  QScrollBar* bar_;
};

// Rows AN1..AN8 of the columns Current, Max Vol, Min Vol, PK-PK.
using StatsBoxGrid = std::array<std::array<QLineEdit*, 8>, 4>;

class QtStatsBoxes : public StatsBoxes {
 public:
  explicit QtStatsBoxes(const StatsBoxGrid& boxes) : boxes_(boxes) {}
  // The text from its start: the cursor goes to position 0.
  void SetText(StatsColumn column, int channel, std::string_view text) override;

 private:
  StatsBoxGrid boxes_;
};

class QtTableSurroundings : public TableSurroundings {
 public:
  QtTableSurroundings(QPushButton* button8, QTabWidget* pages, QWidget* waveformPage)
      : button8_(button8), pages_(pages), waveformPage_(waveformPage) {}
  void SetModeCaption(std::string_view caption) override;
  bool WaveformPageActive() const override;

 private:
  QPushButton* button8_;
  QTabWidget* pages_;
  QWidget* waveformPage_;
};

}  // namespace trelvan
