// Keyboard marks on captions: the shown text never changes.
#include "app/parts/mnemonics.h"

#include <gtest/gtest.h>

#include <QKeySequence>

namespace trelvan {
namespace {

TEST(Mnemonics, MarkOneLetterAndLeaveTheShownTextAlone) {
  const char* captions[] = {"Connect", "Disconnect", "Set Config", "StartSample", "StopSample",
                            "Read Once", "Switch to Hex", "Load From", "Save As", "Clear Buff",
                            "DFU Mode", "DFU Pin", "Reset", "About", "Change", "Zoom In(Y)",
                            "Zoom Out (Y)", "Move Up", "Move Down", "Zoom In(X)", "Zoom Out (X)",
                            "Next Page", "Prev Page", "Move Left", "Home"};
  for (const char* caption : captions) {
    const QString marked = WithMnemonic(caption);
    EXPECT_EQ(marked.count('&'), 1) << caption;
    EXPECT_EQ(PlainCaption(marked), caption);
    EXPECT_EQ(WithMnemonic(marked), marked) << "marking twice changes nothing";
  }
  // Both captions of a button keep its letter.
  EXPECT_EQ(QKeySequence::mnemonic(WithMnemonic("Connect")), QKeySequence::mnemonic(WithMnemonic("Disconnect")));
  EXPECT_EQ(QKeySequence::mnemonic(WithMnemonic("StartSample")), QKeySequence::mnemonic(WithMnemonic("StopSample")));
  // Captions without a free letter, and others, stay as they are.
  EXPECT_EQ(WithMnemonic("Go"), "Go");
  EXPECT_EQ(WithMnemonic("Move Right"), "Move Right");
  EXPECT_EQ(WithMnemonic("A&&B"), "A&&B");
  EXPECT_EQ(PlainCaption("A&&B"), "A&B");
  EXPECT_EQ(PlainCaption("End&"), "End&");
}

}  // namespace
}  // namespace trelvan
