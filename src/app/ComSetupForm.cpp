#include "app/ComSetupForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <stdexcept>

#include "app/DialogFrame.h"
#include "meter/MeterLogic.h"
#include "meter/ModelTables.h"
#include "platform/Registry.h"
#include "serial/ComTextForms.h"
#include "serial/ui/ComComboBox.h"

namespace {

const QString kStoreKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Telquin");
const QString kDeviceKey = QStringLiteral("Software\\Telquin\\Device");

// A check box with its text left of the box, as wide as it needs.
QCheckBox* TextLeftCheckBox(const QString& caption, QGroupBox* group) {
  auto* box = new QCheckBox(caption, group);
  box->setLayoutDirection(Qt::RightToLeft);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(box, 0, Qt::AlignLeft | Qt::AlignAbsolute);
  return box;
}

// Stores the model for the next start. A store that cannot be written is an
// error the user must see, as the port settings' store is.
void StoreDeviceType(TDeviceType device) {
  platform::Registry reg;
  const bool ok = reg.OpenKey(kDeviceKey, true) &&
                  reg.WriteInteger(QStringLiteral("Type"), static_cast<int>(device)) &&
                  reg.Flush();
  if (!ok) throw std::runtime_error("Failed to set data for 'Type'");
}

}  // namespace

TComSetupForm::TComSetupForm(TMeterLogic& logic, IMeterView& view, QWidget* parent)
    : QDialog(parent), FLogic(logic), FView(view) {
  GroupBox1 = new QGroupBox(QStringLiteral(" Settings "), this);
  Label1 = new QLabel(QStringLiteral("Type"), GroupBox1);
  cb_device = new QComboBox(GroupBox1);
  for (int i = 0; i < DeviceTypeCount; ++i) cb_device->addItem(DeviceText(DeviceFromOrdinal(i)));
  Label2 = new QLabel(QStringLiteral("Port"), GroupBox1);
  Combo_Port = new TComComboBox(GroupBox1);
  Combo_Port->SetComProperty(cpPort);
  Label3 = new QLabel(QStringLiteral("Baud Rate"), GroupBox1);
  Combo_Baudrate = new QComboBox(GroupBox1);
  auto* grid = new QGridLayout(GroupBox1);
  int row = 0;
  for (auto [label, box] : {std::pair<QLabel*, QWidget*>{Label1, cb_device},
                            {Label2, Combo_Port},
                            {Label3, Combo_Baudrate}}) {
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);

  GroupBox2 = new QGroupBox(QStringLiteral("Option"), this);
  CheckBox1 = TextLeftCheckBox(QStringLiteral("Readout QOR Parameter now (Get)"), GroupBox2);
  GroupBox3 = new QGroupBox(QStringLiteral("Demo "), this);
  CheckBox2 = TextLeftCheckBox(QStringLiteral("Simulate Device"), GroupBox3);

  const QFont font(QStringLiteral("Tahoma"), 8);
  BuildDialogFrame(*this, QStringLiteral("Interface Setup"), {GroupBox1, GroupBox2, GroupBox3},
                   QSize(233, 240), OKButton, Button2, &font);

  // Only a pick of the user rebuilds the rate list; setting the index in
  // code does not.
  connect(cb_device, &QComboBox::activated, this, [this] { cb_deviceChange(); });
  connect(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBox2Click(); });
  // The dialog closes with OK even when applying fails; the error is handed
  // to ShowModal's caller, since nothing may be thrown into the event loop.
  disconnect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(OKButton, &QPushButton::clicked, this, [this] {
    FOKFailure.Catch([this] { OKButtonClick(); });
    accept();
  });
}

int TComSetupForm::ShowModal() {
  return FOKFailure.Modal([this] { return exec(); }) == QDialog::Accepted ? 1 : 2;
}

bool TComSetupForm::AutoGet() const { return CheckBox1->isChecked(); }
bool TComSetupForm::Simulation() const { return CheckBox2->isChecked(); }

void TComSetupForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TComSetupForm::FormShow() {
  cb_device->setCurrentIndex(static_cast<int>(FLogic.Device()));
  Combo_Port->SetComPort(&FLogic.ComPort());
  Combo_Port->UpdateSettings();
  if (FFirst) {
    // Later shows: the port's rate in the list built last.
    Combo_Baudrate->setCurrentIndex(
        Combo_Baudrate->findText(BaudRateToText(FLogic.ComPort().BaudRate())));
  } else {
    // The first show offers the model's default rate, not the stored one.
    cb_deviceChange();
    FFirst = true;
  }
}

void TComSetupForm::cb_deviceChange() {
  const QString text = cb_device->currentText();
  const TModelTable* chosen = nullptr;
  for (int i = 0; i < DeviceTypeCount; ++i) {
    const TDeviceType d = DeviceFromOrdinal(i);
    if (text.compare(DeviceText(d), Qt::CaseInsensitive) == 0) chosen = &ModelTable(d);
  }
  if (chosen != nullptr) {
    Combo_Baudrate->clear();
    Combo_Baudrate->addItems(chosen->setupRates);
  }
  const QString rate = chosen != nullptr ? chosen->setupRate : QStringLiteral("9600");
  Combo_Baudrate->setCurrentIndex(Combo_Baudrate->findText(rate));
}

void TComSetupForm::CheckBox2Click() {
  // The simulated meter fills the page by an automatic read.
  if (CheckBox2->isChecked()) CheckBox1->setChecked(true);
}

void TComSetupForm::OKButtonClick() {
  TComPort& port = FLogic.ComPort();
  port.BeginUpdate();
  try {
    port.SetBaudRate(TextToBaudRate(Combo_Baudrate->currentText()));
    Combo_Port->ApplySettings();  // an open port reopens on a new name
  } catch (...) {
    // A port left inside an update would never apply a setting again.
    try {
      port.EndUpdate();
    } catch (...) {
      // The first error is the one reported.
    }
    throw;
  }
  port.EndUpdate();

  // The model switch sets the model's default rate, replacing the chosen one.
  const int index = cb_device->currentIndex();
  if (index >= 0 && index != static_cast<int>(FLogic.Device()))
    FLogic.SetDevice(DeviceFromOrdinal(index));

  port.SetStoredProps(TStoredProps{spBasic});
  port.StoreSettings(stRegistry, kStoreKey);
  StoreDeviceType(FLogic.Device());

  FLogic.Simulator().SetSimuVersion(Simulation());
  FView.SetActionVisible(TAction::acSimulation, Simulation());
  FLogic.ArmAutoGet(AutoGet());
}

void acSettingsExecute(TComSetupForm& dialog, TMeterLogic& logic) {
  // The port follows the settings even when OK failed half-way, as it would
  // after the error had been shown; the error is thrown afterwards.
  std::exception_ptr error;
  try {
    dialog.ShowModal();
  } catch (...) {
    error = std::current_exception();
  }
  logic.ApplyInterfaceSetup();
  if (error) std::rethrow_exception(error);
}
