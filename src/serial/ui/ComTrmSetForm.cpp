#include "serial/ui/ComTrmSetForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "serial/ui/CustomComTerminal.h"
#include "serial/ui/SetupDialogFrame.h"

namespace {

QComboBox* DropDownList(QWidget* parent, const QStringList& items) {
  auto* combo = new QComboBox(parent);
  combo->addItems(items);
  return combo;
}

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setBuddy(buddy);
  return label;
}

int IntegerOr(const QString& text, int fallBack) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  return ok ? value : fallBack;
}

}  // namespace

TComTrmSetForm::TComTrmSetForm(QWidget* parent) : QDialog(parent) {
  GroupBox1 = new QGroupBox(QStringLiteral(" ASCII Settings "), this);
  auto* ascii = new QVBoxLayout(GroupBox1);
  CheckBox1 = new QCheckBox(QStringLiteral("Echo typed charachters locally"), GroupBox1);
  CheckBox2 = new QCheckBox(QStringLiteral("Send line feeds with carriage return"), GroupBox1);
  CheckBox3 = new QCheckBox(QStringLiteral("Wrap lines that exceed terminal width"), GroupBox1);
  CheckBox4 = new QCheckBox(QStringLiteral("Force incoming data to 7 bit ASCII"), GroupBox1);
  CheckBox5 = new QCheckBox(QStringLiteral("Append line feeds to incoming carriage return"),
                            GroupBox1);
  for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5})
    ascii->addWidget(box);

  GroupBox2 = new QGroupBox(QStringLiteral(" Terminal Settings "), this);
  auto* grid = new QGridLayout(GroupBox2);
  ComboBox1 = DropDownList(GroupBox2, {QStringLiteral("Block"), QStringLiteral("Underline")});
  ComboBox2 = DropDownList(GroupBox2, {QStringLiteral("ANSI/VT100"), QStringLiteral("VT52"),
                                       QStringLiteral("None")});
  Edit1 = new QLineEdit(GroupBox2);
  Edit2 = new QLineEdit(GroupBox2);
  ComboBox3 = DropDownList(GroupBox2, {QStringLiteral("Act as terminal keys"),
                                       QStringLiteral("Act as windows keys")});
  grid->addWidget(Caption("Caret", ComboBox1, GroupBox2), 0, 0);
  grid->addWidget(ComboBox1, 0, 1, 1, 3);
  grid->addWidget(Caption("Emulation", ComboBox2, GroupBox2), 1, 0);
  grid->addWidget(ComboBox2, 1, 1, 1, 3);
  grid->addWidget(Caption("Columns", Edit1, GroupBox2), 2, 0);
  grid->addWidget(Edit1, 2, 1);
  grid->addWidget(Caption("Rows", Edit2, GroupBox2), 2, 2);
  grid->addWidget(Edit2, 2, 3);
  grid->addWidget(Caption("Cursor keys", ComboBox3, GroupBox2), 3, 0);
  grid->addWidget(ComboBox3, 3, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  BuildSetupDialogFrame(*this, {GroupBox1, GroupBox2}, QSize(363, 353), OKButton, CancelButton);
}

void EditComTerminalDialog(TCustomComTerminal& Terminal) {
  TComTrmSetForm form;
  form.CheckBox1->setChecked(Terminal.LocalEcho());
  form.CheckBox2->setChecked(Terminal.SendLF());
  form.CheckBox3->setChecked(Terminal.WrapLines());
  form.CheckBox4->setChecked(Terminal.Force7Bit());
  form.CheckBox5->setChecked(Terminal.AppendLF());
  // tcNone has no entry: nothing is selected, and OK keeps it.
  form.ComboBox1->setCurrentIndex(Terminal.Caret() < form.ComboBox1->count() ? Terminal.Caret()
                                                                             : -1);
  form.ComboBox2->setCurrentIndex(Terminal.Emulation());
  form.Edit1->setText(QString::number(Terminal.Columns()));
  form.Edit2->setText(QString::number(Terminal.Rows()));
  form.ComboBox3->setCurrentIndex(Terminal.ArrowKeys());
  if (form.exec() != QDialog::Accepted) return;

  Terminal.SetLocalEcho(form.CheckBox1->isChecked());
  Terminal.SetSendLF(form.CheckBox2->isChecked());
  Terminal.SetWrapLines(form.CheckBox3->isChecked());
  Terminal.SetForce7Bit(form.CheckBox4->isChecked());
  Terminal.SetAppendLF(form.CheckBox5->isChecked());
  if (form.ComboBox1->currentIndex() >= 0)
    Terminal.SetCaret(static_cast<TTermCaret>(form.ComboBox1->currentIndex()));
  if (form.ComboBox2->currentIndex() >= 0)
    Terminal.SetEmulation(static_cast<TTermEmulation>(form.ComboBox2->currentIndex()));
  Terminal.SetColumns(IntegerOr(form.Edit1->text(), 80));
  Terminal.SetRows(IntegerOr(form.Edit2->text(), 24));
  if (form.ComboBox3->currentIndex() >= 0)
    Terminal.SetArrowKeys(static_cast<TArrowKeys>(form.ComboBox3->currentIndex()));
}
