#pragma once
// The main window's status bar: three panels (0: owner-drawn port summary,
// 1: centred line counter, 2: operation texts) or, while a hint is shown,
// one simple panel with the hint across the whole width. No text widens the
// window: the panels cut what does not fit.

#include <QStatusBar>
#include <QString>
#include <array>

class QStackedWidget;
class TElidedLabel;
class TStatusPanel;

class TStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  static constexpr int PanelCount = 3;

  explicit TStatusBar(QWidget* parent = nullptr);

  QString PanelText(int index) const;
  void SetPanelText(int index, const QString& text);
  QWidget* Panel(int index) const;

  bool SimplePanel() const;
  void SetSimplePanel(bool on);
  QString SimpleText() const;
  void SetSimpleText(const QString& text);

 private:
  // nullptr for an index beyond the three panels.
  TStatusPanel* FindPanel(int index) const;

  QStackedWidget* FPages = nullptr;
  std::array<TStatusPanel*, PanelCount> FPanels{};
  TElidedLabel* FSimple = nullptr;
};
