#pragma once
// The data table on its widgets: the window creates the widgets and hands
// them over; the adapter configures them, connects their events to the
// table's handlers and owns the table's state.

#include <QObject>
#include <array>
#include <cstdint>
#include <memory>

#include "views/qt/handler_guard.h"

#include "acquisition/sample_store.h"
#include "views/table_view.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QWidget;

namespace trelvan {

struct TableWidgets {
  QPlainTextEdit* richEdit2 = nullptr;
  QScrollBar* scrollBar1 = nullptr;
  QPushButton* button8 = nullptr;
  QTabWidget* pageControl1 = nullptr;
  QWidget* waveformPage = nullptr;  // TabSheet2
  // AN1..AN8 of the columns Current, Max Vol, Min Vol and PK-PK.
  std::array<QLineEdit*, Channels> current{}, maxVol{}, minVol{}, pkpk{};
};

class TableViewAdapter : public QObject {
  Q_OBJECT

 public:
  TableViewAdapter(const SampleStore& store, const std::array<ChannelStats, Channels>& stats,
                   TableWidgets widgets, QObject* parent = nullptr);
  ~TableViewAdapter() override;

  void ShowNewestRows(uint32_t newCycles);
  void ShowChannelStats();
  void ResetTableView();
  void ClearStatsDisplay();

  // An exception escaping a widget handler (scroll, click, mode switch) is
  // handed here; none by default.
  void SetErrorHandler(ErrorHandler handler);

  const DataTable& table() const { return *table_; }

 protected:
  // Clicks in the table: the left button's release on RichEdit2's viewport.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Ports;
  TableWidgets widgets_;
  std::unique_ptr<Ports> ports_;
  std::unique_ptr<DataTable> table_;
  ErrorHandler errorHandler_;
};

}  // namespace trelvan
