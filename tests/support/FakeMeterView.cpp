#include "support/FakeMeterView.h"

#include <utility>

#include "serial/UserErrorText.h"

namespace {
std::optional<QString> TakeAnswer(std::deque<std::optional<QString>>& answers) {
  if (answers.empty()) return std::nullopt;
  const QString a = answers.front().value_or(QString());
  const bool given = answers.front().has_value();
  answers.pop_front();
  return given ? std::optional<QString>(a) : std::nullopt;
}
}  // namespace

FakeMeterView::FakeMeterView() {}

FakeAction& FakeMeterView::action(TAction a) {
  return const_cast<FakeAction&>(std::as_const(*this).action(a));
}

const FakeAction& FakeMeterView::action(TAction a) const {
  if (!HasAction(a)) throw EUnknownAction(a);
  return FActions[ActionIndex(a)];
}

bool FakeMeterView::HasAction(TAction a) const {
  const int i = ActionIndex(a);
  return i < ActionCount && FActions[i].present;
}

void FakeMeterView::ExecuteAction(TAction a, const std::function<void()>& handler) {
  executedActions << a;
  if (!action(a).enabled) return;
  try {
    handler();
  } catch (const EUnknownAction&) {
    throw;
  } catch (const std::exception& e) {
    errors << UserErrorText(e);
  }
}

void FakeMeterView::SetStatusText(int panel, const QString& text) {
  if (panel < 0 || panel > 2) return;
  status[panel] = text;
  statusHistory[panel] << text;
}

QString FakeMeterView::StatusText(int panel) const {
  return panel >= 0 && panel <= 2 ? status[panel] : QString();
}

void FakeMeterView::ShowModelPages(int p, int d, int g) {
  parameterPage = p;
  deviceButtons = d;
  if (g >= 0) diagramButtons = g;
}

std::optional<QString> FakeMeterView::ExecuteSaveDialog(const FileDialogOptions& o) {
  saveDialogCalls << o;
  return TakeAnswer(saveDialogAnswers);
}

std::optional<QString> FakeMeterView::ExecuteOpenDialog(const FileDialogOptions& o) {
  openDialogCalls << o;
  return TakeAnswer(openDialogAnswers);
}

std::optional<QString> FakeMeterView::ExecuteSavePictureDialog() {
  return TakeAnswer(pictureAnswers);
}

std::optional<QString> FakeMeterView::InputBox(const QString&, const QString&, const QString&) {
  return TakeAnswer(inputAnswers);
}

bool FakeMeterView::OpenWithShell(const QString& f, QString*) {
  shellOpened << f;
  return true;
}
