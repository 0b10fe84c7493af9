#include "views/qt/table_view_adapter.h"

#include "views/qt/handler_guard.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFont>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include "views/qt/table_qt_widgets.h"
#include "views/qt/table_scroll_input.h"

namespace trelvan {

struct TableViewAdapter::Ports {
  explicit Ports(const TableWidgets& w)
      : textBox(w.richEdit2),
        scrollBar(w.scrollBar1),
        statsBoxes(StatsBoxGrid{w.current, w.maxVol, w.minVol, w.pkpk}),
        surroundings(w.button8, w.pageControl1, w.waveformPage) {}

  PlainTextTableBox textBox;
  QtTableScrollBar scrollBar;
  QtStatsBoxes statsBoxes;
  QtTableSurroundings surroundings;
};

namespace {

void ConfigureTableBox(QPlainTextEdit* edit) {
  edit->setReadOnly(true);
  edit->setUndoRedoEnabled(false);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setWordWrapMode(QTextOption::NoWrap);
  QFont font(QStringLiteral("Courier New"));  // Liberation Mono where it is missing
  // A cell height of 11 px: an em of 10 px, so that a character is 6 px wide,
  // a 12-character field 72 px (the spacing of the headings) and a whole row
  // fits the 672 px box.
  font.setPixelSize(10);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  edit->setFont(font);
  // The highlight stays visible while another widget has the focus.
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  edit->setPalette(palette);
}

void ConfigureScrollBar(QScrollBar* bar) {
  bar->setOrientation(Qt::Vertical);
  bar->setRange(0, 0);
  bar->setPageStep(16);
  bar->setSingleStep(1);
}

// The program writes numbers longer than a typed value may be: nothing may
// cut or filter them.
void ConfigureStatsBox(QLineEdit* box) {
  if (!box) return;
  box->setReadOnly(true);
  box->setValidator(nullptr);
  box->setInputMask(QString());
  box->setMaxLength(32767);
}

}  // namespace

TableViewAdapter::TableViewAdapter(const SampleStore& store,
                                   const std::array<ChannelStats, Channels>& stats,
                                   TableWidgets widgets, QObject* parent)
    : QObject(parent),
      widgets_(widgets),
      ports_(std::make_unique<Ports>(widgets)),
      table_(std::make_unique<DataTable>(
          store, stats,
          TableWidgetPorts{ports_->textBox, ports_->scrollBar, ports_->statsBoxes,
                           ports_->surroundings})) {
  ConfigureTableBox(widgets_.richEdit2);
  ConfigureScrollBar(widgets_.scrollBar1);
  for (const auto* column : {&widgets_.current, &widgets_.maxVol, &widgets_.minVol, &widgets_.pkpk}) {
    for (QLineEdit* box : *column) ConfigureStatsBox(box);
  }
  // Every change of the position, the user's and the program's.
  connect(widgets_.scrollBar1, &QScrollBar::valueChanged, this,
          [this](int) { RunGuarded(errorHandler_, [this] { table_->ScrollBar1Change(); }); });
  if (widgets_.button8) {
    connect(widgets_.button8, &QAbstractButton::clicked, this,
            [this] { RunGuarded(errorHandler_, [this] { table_->Button8Click(); }); });
  }
  widgets_.richEdit2->viewport()->installEventFilter(this);
  new TableScrollInput(widgets_.richEdit2, widgets_.scrollBar1);  // a child of the box
}

// Qt drops the event filter and the connections of a destroyed adapter.
TableViewAdapter::~TableViewAdapter() = default;

void TableViewAdapter::SetErrorHandler(ErrorHandler handler) { errorHandler_ = std::move(handler); }

void TableViewAdapter::ShowNewestRows(uint32_t newCycles) { table_->ShowNewestRows(newCycles); }

void TableViewAdapter::ShowChannelStats() { table_->ShowChannelStats(); }

void TableViewAdapter::ResetTableView() { table_->ResetTableView(); }

void TableViewAdapter::ClearStatsDisplay() { table_->ClearStatsDisplay(); }

bool TableViewAdapter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && widgets_.richEdit2 &&
      watched == widgets_.richEdit2->viewport() &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    RunGuarded(errorHandler_, [this] { table_->RichEdit2Click(); });
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace trelvan
