// The main window's design: every control with its name, caption, position,
// initial text and Enabled state, built in one place.
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <qcustomplot.h>

#include "app/main_form.h"

namespace trelvan {

namespace {

template <class W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 0) {
  auto* label = Named(new QLabel(text, parent), name);
  label->move(x, y);
  if (w > 0) {
    label->resize(w, 16);
  } else {
    label->adjustSize();
  }
  return label;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, int x, int y,
                    int w = 68, int h = 25) {
  auto* button = Named(new QPushButton(caption, parent), name);
  button->setGeometry(x, y, w, h);
  return button;
}

QLineEdit* Edit(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                int h = 21) {
  auto* edit = Named(new QLineEdit(text, parent), name);
  edit->setGeometry(x, y, w, h);
  return edit;
}

QComboBox* Combo(QWidget* parent, const char* name, int x, int y, int w) {
  auto* combo = Named(new QComboBox(parent), name);
  combo->setGeometry(x, y, w, 21);
  return combo;
}

}  // namespace

void TMainForm::BuildLayout() {
  setObjectName("MainForm");
  setWindowTitle("Trelvan");
  setFixedSize(1189, 611);
  QFont font("Liberation Sans");
  font.setPixelSize(11);
  setFont(font);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Light));
  setPalette(pal);
  setAutoFillBackground(true);

  // Under the page control, which covers it: the user never sees it.
  DateTimePicker1 = Named(new QDateTimeEdit(QDateTime(QDate(2022, 2, 3), QTime(12, 40, 26)), this),
                          "DateTimePicker1");
  DateTimePicker1->setGeometry(10, 100, 186, 21);
  DateTimePicker1->setVisible(false);  // covered by the page control: never seen

  PageControl1 = Named(new QTabWidget(this), "PageControl1");
  PageControl1->setGeometry(0, 0, 1189, 491);
  TabSheet1 = Named(new QWidget, "TabSheet1");
  TabSheet2 = Named(new QWidget, "TabSheet2");
  PageControl1->addTab(TabSheet1, "Data");
  PageControl1->addTab(TabSheet2, "WaveForm");

  // Data page: the table with its headings and scroll bar.
  Label(TabSheet1, "StaticText18", "Cycles", 20, 3);
  const char* headingNames[8] = {"StaticText24", "StaticText25", "StaticText26", "StaticText27",
                                 "StaticText28", "StaticText29", "StaticText30", "StaticText31"};
  for (int c = 0; c < 8; ++c) {
    Label(TabSheet1, headingNames[c], QString("AN%1").arg(c + 1), 108 + 72 * c, 3);
  }
  RichEdit2 = Named(new QPlainTextEdit(TabSheet1), "RichEdit2");
  RichEdit2->setGeometry(1, 26, 672, 432);
  ScrollBar1 = Named(new QScrollBar(Qt::Vertical, TabSheet1), "ScrollBar1");
  ScrollBar1->setGeometry(679, 26, 17, 431);

  // "Voltage(V)": Current, Max Vol, Min Vol, PK-PK and Factor of AN1..AN8.
  GroupBox4 = Named(new QGroupBox("Voltage(V)", TabSheet1), "GroupBox4");
  GroupBox4->setGeometry(700, 0, 346, 258);
  const char* columns[5] = {"Current", "Max Vol", "Min Vol", "PK-PK", "Factor"};
  for (int k = 0; k < 5; ++k) Label(GroupBox4, "", columns[k], 34 + 62 * k, 18, 60);
  const char* names[5][8] = {
      {"Edit5", "Edit6", "Edit8", "Edit7", "Edit10", "Edit9", "Edit12", "Edit11"},
      {"Edit14", "Edit15", "Edit16", "Edit17", "Edit18", "Edit19", "Edit20", "Edit21"},
      {"Edit22", "Edit23", "Edit24", "Edit25", "Edit26", "Edit27", "Edit28", "Edit29"},
      {"Edit30", "Edit31", "Edit32", "Edit33", "Edit34", "Edit35", "Edit36", "Edit37"},
      {"Edit3", "Edit38", "Edit39", "Edit40", "Edit41", "Edit42", "Edit43", "Edit44"}};
  std::array<QLineEdit*, 8>* columnBoxes[5] = {&currentBoxes, &maxBoxes, &minBoxes, &pkpkBoxes,
                                               &factorBoxes};
  for (int c = 0; c < 8; ++c) {
    const int y = 36 + 27 * c;
    Label(GroupBox4, "", QString("AN%1:").arg(c + 1), 6, y + 3, 28);
    for (int k = 0; k < 5; ++k) {
      QLineEdit* box = Edit(GroupBox4, names[k][c], k == 4 ? "1.00" : "", 34 + 62 * k, y, 60);
      box->setReadOnly(k < 4);
      (*columnBoxes[k])[c] = box;
    }
  }
  for (QLineEdit* box : factorBoxes) box->setMaxLength(9);  // typed by the user, never written

  // "ADC Settings".
  GroupBox1 = Named(new QGroupBox("ADC Settings", TabSheet1), "GroupBox1");
  GroupBox1->setGeometry(1050, 0, 135, 432);
  CheckBox17 = Named(new QCheckBox("DFU Pin", GroupBox1), "CheckBox17");
  CheckBox17->setGeometry(6, 18, 120, 18);
  CheckBox17->setChecked(true);
  // Each label stands above its control, so that the narrow group gives every
  // control the width of its longest item.
  const int lx = 6, cw = 123;
  int y = 38;
  auto row = [&](const char* label) {
    Label(GroupBox1, "", QString::fromUtf8(label), lx, y, cw);
    const int top = y + 15;
    y += 42;
    return top;
  };
  ComboBox8 = Combo(GroupBox1, "ComboBox8", lx, row("MainChan:"), cw);
  Edit2 = Edit(GroupBox1, "Edit2", "0", lx, row("MaxCycles:"), cw);
  const int periodTop = row("Period:");
  Edit1 = Edit(GroupBox1, "Edit1", "100", lx, periodTop, 68);
  ComboBox6 = Combo(GroupBox1, "ComboBox6", lx + 71, periodTop, cw - 71);
  ComboBox5 = Combo(GroupBox1, "ComboBox5", lx, row("Trig Mode:"), cw);
  ComboBox4 = Combo(GroupBox1, "ComboBox4", lx, row("IO Type\xEF\xBC\x9A"), cw);
  const int volTop = row("TrigVol(mv):");
  Edit4 = Edit(GroupBox1, "Edit4", "0", lx, volTop, 68);
  ComboBox3 = Combo(GroupBox1, "ComboBox3", lx + 71, volTop, cw - 71);
  ComboBox1 = Combo(GroupBox1, "ComboBox1", lx, row("Rangle:"), cw);
  ComboBox2 = Combo(GroupBox1, "ComboBox2", lx, row("OS:"), cw);

  // The auto-save row.
  Label(TabSheet1, "StaticText32", "AutoSavePath:", 704, 440);
  Edit45 = Edit(TabSheet1, "Edit45", "", 780, 437, 330);
  Edit45->setReadOnly(true);
  Button26 = Button(TabSheet1, "Button26", "Change", 1115, 436);

  // WaveForm page: the chart and its navigation panel.
  Chart1 = Named(new QCustomPlot(TabSheet2), "Chart1");
  Chart1->setGeometry(7, 3, 1017, 463);
  for (int i = 0; i < 8; ++i) Chart1->addGraph();
  GroupBox5 = Named(new QGroupBox(TabSheet2), "GroupBox5");
  GroupBox5->setGeometry(1030, 3, 154, 463);
  const char* checkNames[8] = {"CheckBox9",  "CheckBox10", "CheckBox11", "CheckBox12",
                               "CheckBox16", "CheckBox15", "CheckBox14", "CheckBox13"};
  for (int c = 0; c < 8; ++c) {
    auto* check = Named(new QCheckBox(QString("AN%1").arg(c + 1), GroupBox5), checkNames[c]);
    check->setGeometry(c < 4 ? 25 : 89, 63 + 23 * (c % 4), 55, 18);
    check->setChecked(true);
    traceChecks[c] = check;
  }
  Button21 = Button(GroupBox5, "Button21", "Zoom In(Y)", 6, 197);
  Button22 = Button(GroupBox5, "Button22", "Zoom Out (Y)", 80, 197);
  Button23 = Button(GroupBox5, "Button23", "Move Up", 6, 226);
  Button24 = Button(GroupBox5, "Button24", "Move Down", 80, 226);
  Button11 = Button(GroupBox5, "Button11", "Zoom In(X)", 6, 255);
  Button12 = Button(GroupBox5, "Button12", "Zoom Out (X)", 80, 255);
  Button15 = Button(GroupBox5, "Button15", "Next Page", 6, 286);
  Button16 = Button(GroupBox5, "Button16", "Prev Page", 80, 286);
  Button17 = Button(GroupBox5, "Button17", "Move Right", 6, 317);
  Button18 = Button(GroupBox5, "Button18", "Move Left", 80, 317);
  Button13 = Button(GroupBox5, "Button13", "Home", 6, 347);
  Button14 = Button(GroupBox5, "Button14", "End", 80, 348);
  Edit13 = Edit(GroupBox5, "Edit13", "0", 6, 379, 68, 23);
  // Digits only when typed; the program writes any start into it.
  Edit13->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), Edit13));
  Button19 = Button(GroupBox5, "Button19", "Go", 80, 378);

  // The message log.
  GroupBox2 = Named(new QGroupBox(this), "GroupBox2");
  GroupBox2->setGeometry(0, 493, 700, 85);
  RichEdit1 = Named(new QPlainTextEdit(GroupBox2), "RichEdit1");
  RichEdit1->setGeometry(2, 6, 696, 77);
  RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
  PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
  Named(PopupMenu1->addAction("&Clear"), "Save1");
  Named(PopupMenu1->addAction("&Save as"), "Save2");

  // "Operations": twelve buttons in two rows.
  GroupBox3 = Named(new QGroupBox("Operations", this), "GroupBox3");
  GroupBox3->setGeometry(704, 491, 483, 92);
  struct Op {
    QPushButton** button;
    const char* name;
    const char* caption;
  } ops[12] = {{&Button7, "Button7", "Connect"},       {&Button2, "Button2", "Set Config"},
               {&Button1, "Button1", "Start Sample"},  {&Button6, "Button6", "Read Once"},
               {&Button8, "Button8", "Switch to Hex"}, {&Button27, "Button27", "Load From"},
               {&Button4, "Button4", "Save As"},       {&Button9, "Button9", "Clear Buff"},
               {&Button5, "Button5", "DFU Mode"},      {&Button25, "Button25", "DFU Pin"},
               {&Button20, "Button20", "Reset"},       {&Button3, "Button3", "About"}};
  for (int i = 0; i < 12; ++i) {
    *ops[i].button = Button(GroupBox3, ops[i].name, ops[i].caption, 8 + 78 * (i % 6),
                            20 + 34 * (i / 6), 74, 27);
  }
  Button1->setEnabled(false);

  // The status bar: ten panels of fixed widths.
  Panel1 = Named(new QWidget(this), "Panel1");
  Panel1->setGeometry(0, 581, 1189, 30);
  auto* statusBar = Named(new QWidget(Panel1), "StatusBar1");
  statusBar->setGeometry(0, 4, 1205, 24);
  const int widths[10] = {90, 150, 125, 120, 120, 150, 100, 125, 125, 100};
  const char* texts[10] = {"Disconnected", "Total Cycles\xEF\xBC\x9A", "MaxCycles\xEF\xBC\x9A",
                           "MainChan:",    "Period:",                  "TrigMode:",
                           "IoType:",      "TrigVol:",                 "Rangle:",
                           "OS:"};
  int x = 0;
  for (int i = 0; i < 10; ++i) {
    auto* panel = new QLabel(QString::fromUtf8(texts[i]), statusBar);
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    panel->setTextFormat(Qt::PlainText);  // typed combo texts are shown as they are
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(x, 0, widths[i] - 2, 22);
    panel->setIndent(3);
    statusPanels_[i] = panel;
    x += widths[i];
  }

  Timer1 = Named(new QTimer(this), "Timer1");
  Timer1->setInterval(250);
}

}  // namespace trelvan
