#pragma once
// The diagram setup: value axis range or automatic scale, point markers,
// stairs, mouse zoom and panning, and how many points the diagram keeps. The
// settings live here, are stored under "Graphic" and pushed into the chart at
// creation and on every OK; Cancel changes nothing, and the controls keep
// what the user left in them.

#include <QDialog>
#include <functional>

#include "app/DialogFrame.h"

class IChartLook;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TGraphicSetupForm : public QDialog {
  Q_OBJECT

 public:
  // zoomIn and zoomOut follow AllowZoom (either may be nullptr). The stored
  // settings are loaded and applied to the chart here.
  TGraphicSetupForm(IChartLook& chart, QAction* zoomIn, QAction* zoomOut,
                    QWidget* parent = nullptr);

  // The setters act only on a change, store the value and mirror it into
  // its control; an equal value leaves the control as the user left it.
  double YMin() const { return FYMin; }
  void SetYMin(double value);
  double YMax() const { return FYMax; }
  void SetYMax(double value);
  bool AutoScale() const { return FAutoScale; }
  void SetAutoScale(bool value);
  bool YPointer() const { return FYPointer; }
  void SetYPointer(bool value);
  bool Stair() const { return FStair; }
  void SetStair(bool value);
  // Also enables or disables the zoom actions.
  bool AllowZoom() const { return FAllowZoom; }
  void SetAllowZoom(bool value);
  bool AllowMove() const { return FAllowPan; }
  void SetAllowMove(bool value);
  // Compared unclamped, then kept within 10..1000.
  int XNumber() const { return FXNumber; }
  void SetXNumber(int value);

  // Runs the dialog through `exec` (the window's modal runner). OK closes
  // it even when the store fails; the failure is raised here afterwards.
  int ShowModal(const std::function<int(QDialog&)>& exec);

  // Loads the stored settings (defaults for what is missing) and applies them.
  void FormCreate();
  // OK: takes the controls, applies and stores. A failed store raises.
  void Button1Click();
  // Markers, stairs, then the value axis: automatic, or minimum 0, maximum,
  // minimum in this order; then zoom and panning.
  void ApplyToChart();

  QGroupBox* GroupBox1;
  QLabel* Label1;
  QLineEdit* ed_min;
  QLabel* Label2;
  QLineEdit* ed_max;
  QLabel* Label3;
  QCheckBox* cb_scale;
  QLabel* Label4;
  QCheckBox* cb_pointer;
  QLabel* Label5;
  QCheckBox* cb_stair;
  QLabel* Label6;
  QCheckBox* cb_allowZoom;
  QLabel* Label7;
  QCheckBox* cb_allowPan;
  QGroupBox* GroupBox2;
  QLabel* Label8;
  QLineEdit* ed_number;
  QPushButton* Button1;
  QPushButton* Button2;

 private:
  IChartLook& FChart;
  QAction* FZoomIn;
  QAction* FZoomOut;
  double FYMin = 0;
  double FYMax = 0;
  bool FAutoScale = false;
  bool FYPointer = false;
  bool FStair = false;
  bool FAllowZoom = false;
  bool FAllowPan = false;
  int FXNumber = 0;
  TOkFailure FOKFailure;
};
