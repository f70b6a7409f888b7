#pragma once
// The main window's status bar: three panels (0: owner-drawn port summary,
// 1: centred line counter, 2: operation texts) or, while a hint is shown,
// one simple panel with the hint across the whole width. No text widens the
// window: the panels cut what does not fit.

#include <QStatusBar>
#include <QString>

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
  QStackedWidget* FPages = nullptr;
  TStatusPanel* FPanel0 = nullptr;
  TStatusPanel* FPanel1 = nullptr;
  TStatusPanel* FPanel2 = nullptr;
  TElidedLabel* FSimple = nullptr;
};
