#pragma once
// Dialogs answered by the test: each call takes the next scripted answer and
// is recorded.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "app/parts/dialogs.h"

namespace trelvan::testing {

class ScriptedDialogs : public Dialogs {
 public:
  std::deque<FileChoice> saveAnswers, openAnswers;
  std::deque<QString> folderAnswers;
  std::deque<bool> confirmAnswers;
  QStringList asked;  // "SaveFile <title>", "Confirm <text>", "Error <title>: <text>", ...
  QStringList lastFilters;
  bool lastConfirmOverwrite = false;

  FileChoice SaveFile(const QString& title, const QStringList& filters, int,
                      bool confirmOverwrite) override {
    asked << "SaveFile " + title;
    lastFilters = filters;
    lastConfirmOverwrite = confirmOverwrite;
    return Take(saveAnswers);
  }
  FileChoice OpenFile(const QString& title, const QStringList& filters) override {
    asked << "OpenFile " + title;
    lastFilters = filters;
    return Take(openAnswers);
  }
  QString PickFolder(const QString& start) override {
    asked << "PickFolder " + start;
    return folderAnswers.empty() ? QString() : Pop(folderAnswers);
  }
  bool Confirm(const QString& text) override {
    asked << "Confirm " + text;
    return !confirmAnswers.empty() && Pop(confirmAnswers);
  }
  // Choose: the scripted answers, else the default button.
  std::deque<int> chooseAnswers;
  // Progress windows: the open ones count; `cancelProgress` presses Cancel
  // of the newest one.
  int progressOpen = 0;
  std::function<void()> cancelProgress;
  std::vector<int> percents;

  int Choose(const QString& text, const QStringList& buttons, int defaultButton) override {
    asked << "Choose " + text + " [" + buttons.join("|") + "]";
    return chooseAnswers.empty() ? defaultButton : Pop(chooseAnswers);
  }
  struct Progressing : ProgressView {
    ScriptedDialogs* owner;
    explicit Progressing(ScriptedDialogs* o) : owner(o) { ++owner->progressOpen; }
    ~Progressing() override { --owner->progressOpen; }
    void SetPercent(int percent) override { owner->percents.push_back(percent); }
  };
  std::unique_ptr<ProgressView> Progress(const QString& title, const QString&, int, bool,
                                         std::function<void()> cancel) override {
    asked << "Progress " + title;
    cancelProgress = std::move(cancel);
    return std::make_unique<Progressing>(this);
  }
  void Information(const QString& text) override { asked << "Information " + text; }
  void Error(const QString& title, const QString& text) override {
    asked << "Error " + title + ": " + text;
  }

 private:
  template <class T>
  static T Pop(std::deque<T>& q) {
    T v = q.front();
    q.pop_front();
    return v;
  }
  static FileChoice Take(std::deque<FileChoice>& q) { return q.empty() ? FileChoice{} : Pop(q); }
};

}  // namespace trelvan::testing
