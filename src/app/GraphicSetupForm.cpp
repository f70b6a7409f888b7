#include "app/GraphicSetupForm.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <tuple>

#include "app/ChartLook.h"
#include "meter/MeterNumbers.h"
#include "platform/Registry.h"

namespace {

const QString kGraphicKey = QStringLiteral("Software\\Telquin\\Graphic");

// The store keeps numbers as text with '.', whatever the user's locale.
double ReadFloat(const platform::Registry& reg, const QString& name, double def) {
  if (!reg.ValueExists(name)) return def;
  double v = 0;
  return ReadNumber(reg.ReadString(name).trimmed(), v) && std::isfinite(v) ? v : def;
}

bool ReadBool(const platform::Registry& reg, const QString& name, bool def) {
  const std::optional<qint32> v = reg.ReadInteger(name);
  return v ? *v != 0 : def;
}

void Check(bool written, const char* name) {
  if (!written) throw std::runtime_error(std::string("Failed to set data for '") + name + "'");
}

// A typed limit: the user's ',' is taken as '.'; no number (or one beyond
// the double range) gives the default.
double TypedFloat(const QLineEdit& edit, double def) {
  QString text = edit.text();
  text.replace(u',', u'.');
  double v = 0;
  return ReadNumber(text.trimmed(), v) && std::isfinite(v) ? v : def;
}

// In the user's locale, but without group separators: "1.000" would read
// back as 1 at the next OK.
QString LocaleFloat(double v) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
  return locale.toString(v, 'g', 15);
}

// Stores a value that differs from the field; false for an equal one.
template <typename T>
bool Change(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

// A label with its control in the next column of a two-column grid.
void Row(QGridLayout* grid, QLabel* label, QWidget* control) {
  const int row = grid->rowCount();
  label->setBuddy(control);
  grid->addWidget(label, row, 0);
  grid->addWidget(control, row, 1);
}

}  // namespace

TGraphicSetupForm::TGraphicSetupForm(IChartLook& chart, QAction* zoomIn, QAction* zoomOut,
                                     QWidget* parent)
    : QDialog(parent), FChart(chart), FZoomIn(zoomIn), FZoomOut(zoomOut) {
  setObjectName(QStringLiteral("GraphicSetupForm"));
  GroupBox1 = new QGroupBox(QStringLiteral("Settings Y-Axis"), this);
  auto* grid1 = new QGridLayout(GroupBox1);
  auto label = [](const char* text, QWidget* parent) {
    return new QLabel(QString::fromLatin1(text), parent);
  };
  Label1 = label("Minimum", GroupBox1);
  ed_min = new QLineEdit(QStringLiteral("0"), GroupBox1);
  Row(grid1, Label1, ed_min);
  Label2 = label("Maximum", GroupBox1);
  ed_max = new QLineEdit(QStringLiteral("0"), GroupBox1);
  Row(grid1, Label2, ed_max);
  // Check boxes without text, their labels beside them.
  const std::tuple<QLabel**, QCheckBox**, const char*> checks[] = {
      {&Label3, &cb_scale, "Auto Scale"},   {&Label4, &cb_pointer, "Pointer"},
      {&Label5, &cb_stair, "Stairs"},       {&Label6, &cb_allowZoom, "Allow Zoom"},
      {&Label7, &cb_allowPan, "Allow Panning"}};
  for (const auto& [labelField, boxField, text] : checks) {
    *labelField = label(text, GroupBox1);
    *boxField = new QCheckBox(GroupBox1);
    Row(grid1, *labelField, *boxField);
  }
  grid1->setColumnStretch(1, 1);

  GroupBox2 = new QGroupBox(QStringLiteral("Settings X-Axis"), this);
  auto* grid2 = new QGridLayout(GroupBox2);
  Label8 = label("Number", GroupBox2);
  ed_number = new QLineEdit(QStringLiteral("100"), GroupBox2);
  Row(grid2, Label8, ed_number);
  grid2->setColumnStretch(1, 1);
  // Both columns line up across the two groups.
  const int labelWidth = Label7->sizeHint().width();
  grid1->setColumnMinimumWidth(0, labelWidth);
  grid2->setColumnMinimumWidth(0, labelWidth);

  BuildDialogFrame(*this, QStringLiteral("Diagram Setup"), {GroupBox1, GroupBox2},
                   QSize(234, 282), Button1, Button2);
  connect(Button1, &QPushButton::clicked, this,
          [this] { FOKFailure.Catch([this] { Button1Click(); }); });
  FormCreate();
}

int TGraphicSetupForm::ShowModal(const std::function<int(QDialog&)>& exec) {
  return FOKFailure.Modal([&] { return exec(*this); });
}

void TGraphicSetupForm::SetYMin(double value) {
  if (Change(FYMin, value)) ed_min->setText(LocaleFloat(value));
}

void TGraphicSetupForm::SetYMax(double value) {
  if (Change(FYMax, value)) ed_max->setText(LocaleFloat(value));
}

void TGraphicSetupForm::SetAutoScale(bool value) {
  if (Change(FAutoScale, value)) cb_scale->setChecked(value);
}

void TGraphicSetupForm::SetYPointer(bool value) {
  if (Change(FYPointer, value)) cb_pointer->setChecked(value);
}

void TGraphicSetupForm::SetStair(bool value) {
  if (Change(FStair, value)) cb_stair->setChecked(value);
}

void TGraphicSetupForm::SetAllowZoom(bool value) {
  if (!Change(FAllowZoom, value)) return;
  cb_allowZoom->setChecked(value);
  if (FZoomIn) FZoomIn->setEnabled(value);
  if (FZoomOut) FZoomOut->setEnabled(value);
}

void TGraphicSetupForm::SetAllowMove(bool value) {
  if (Change(FAllowPan, value)) cb_allowPan->setChecked(value);
}

void TGraphicSetupForm::SetXNumber(int value) {
  if (value == FXNumber) return;
  FXNumber = std::clamp(value, 10, 1000);
  ed_number->setText(QString::number(FXNumber));
}

void TGraphicSetupForm::FormCreate() {
  {
    platform::Registry reg;
    reg.OpenKeyReadOnly(kGraphicKey);
    SetYMin(ReadFloat(reg, QStringLiteral("Minimum"), 0));
    SetYMax(ReadFloat(reg, QStringLiteral("Maximum"), 40.0));
    SetAutoScale(ReadBool(reg, QStringLiteral("AutoScale"), false));
    SetYPointer(ReadBool(reg, QStringLiteral("Pointer"), false));
    SetStair(ReadBool(reg, QStringLiteral("Stair"), false));
    SetAllowZoom(ReadBool(reg, QStringLiteral("AllowZoom"), false));
    SetAllowMove(ReadBool(reg, QStringLiteral("AllowPan"), false));
    SetXNumber(reg.ReadInteger(QStringLiteral("Number")).value_or(250));
  }
  ed_number->setText(QString::number(FXNumber));
  ApplyToChart();
}

void TGraphicSetupForm::Button1Click() {
  SetYMin(TypedFloat(*ed_min, 0));
  SetYMax(TypedFloat(*ed_max, 40.0));
  SetAutoScale(cb_scale->isChecked());
  SetYPointer(cb_pointer->isChecked());
  SetStair(cb_stair->isChecked());
  SetAllowZoom(cb_allowZoom->isChecked());
  SetAllowMove(cb_allowPan->isChecked());
  SetXNumber(StrToIntDef(ed_number->text(), 10));
  ApplyToChart();

  platform::Registry reg;
  Check(reg.OpenKey(kGraphicKey, true), "Graphic");
  Check(reg.WriteString(QStringLiteral("Minimum"), QString::number(FYMin, 'g', 17)), "Minimum");
  Check(reg.WriteString(QStringLiteral("Maximum"), QString::number(FYMax, 'g', 17)), "Maximum");
  Check(reg.WriteInteger(QStringLiteral("AutoScale"), FAutoScale), "AutoScale");
  Check(reg.WriteInteger(QStringLiteral("Pointer"), FYPointer), "Pointer");
  Check(reg.WriteInteger(QStringLiteral("Stair"), FStair), "Stair");
  Check(reg.WriteInteger(QStringLiteral("AllowZoom"), FAllowZoom), "AllowZoom");
  Check(reg.WriteInteger(QStringLiteral("AllowPan"), FAllowPan), "AllowPan");
  Check(reg.WriteInteger(QStringLiteral("Number"), FXNumber), "Number");
  Check(reg.Flush(), "Graphic");
}

void TGraphicSetupForm::ApplyToChart() {
  FChart.SetPointerVisible(FYPointer);
  FChart.SetStairs(FStair);
  FChart.SetLeftAxisAutomatic(FAutoScale);
  if (!FAutoScale) {
    // The minimum first goes to 0, so that a maximum below the old minimum
    // is taken.
    FChart.SetLeftAxisMinimum(0);
    FChart.SetLeftAxisMaximum(FYMax);
    FChart.SetLeftAxisMinimum(FYMin);
  }
  FChart.SetAllowZoom(FAllowZoom);
  FChart.SetAllowPanning(FAllowPan);
}
