#include "app/parts/mnemonics.h"

#include <QHash>

namespace trelvan {

namespace {

// The "Operations" buttons are always shown: their letters are unique in the
// window. The buttons of a page share letters only with the other page's,
// which are hidden while they are shown. Both captions of a button that
// changes its caption keep one letter.
const QHash<QString, QString>& Marks() {
  static const QHash<QString, QString> marks = {
      // Operations
      {"Connect", "C&onnect"},
      {"Disconnect", "Disc&onnect"},
      {"Set Config", "Set Con&fig"},
      {"StartSample", "S&tartSample"},
      {"StopSample", "S&topSample"},
      {"Start Sample", "S&tart Sample"},
      {"Read Once", "&Read Once"},
      {"Switch to Hex", "S&witch to Hex"},
      {"Load From", "&Load From"},
      {"Save As", "&Save As"},
      {"Clear Buff", "&Clear Buff"},
      {"DFU Mode", "DFU &Mode"},
      {"DFU Pin", "DFU &Pin"},
      {"Reset", "R&eset"},
      {"About", "&About"},
      // Data page
      {"Change", "C&hange"},
      // WaveForm page
      {"Zoom In(Y)", "Zoom &In(Y)"},
      {"Zoom Out (Y)", "Zoom Out (&Y)"},
      {"Move Up", "Move &Up"},
      {"Move Down", "Move &Down"},
      {"Zoom In(X)", "Zoom In(&X)"},
      {"Zoom Out (X)", "&Zoom Out (X)"},
      {"Next Page", "&Next Page"},
      {"Prev Page", "Prev Pa&ge"},
      {"Move Left", "Mo&ve Left"},
      {"Home", "&Home"},
  };
  return marks;
}

}  // namespace

QString WithMnemonic(const QString& caption) {
  const auto it = Marks().constFind(PlainCaption(caption));
  return it != Marks().constEnd() ? *it : caption;
}

QString PlainCaption(const QString& text) {
  QString plain;
  plain.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;  // "&&" is one shown "&"
    plain += text[i];
  }
  return plain;
}

}  // namespace trelvan
