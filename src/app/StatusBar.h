#pragma once
// The main window's status bar: three panels (0: owner-drawn port summary,
// 1: centred line counter, 2: operation texts) or, while a hint is shown,
// one simple panel with the hint across the whole width.

#include <QStatusBar>
#include <QString>

class QLabel;
class QStackedWidget;

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
  class TPanel;
  QStackedWidget* FPages = nullptr;
  TPanel* FPanel0 = nullptr;
  TPanel* FPanel1 = nullptr;
  TPanel* FPanel2 = nullptr;
  QLabel* FSimple = nullptr;
};
