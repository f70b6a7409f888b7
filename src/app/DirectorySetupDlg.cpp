#include "app/DirectorySetupDlg.h"

#include <QAction>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

#include "app/DialogFrame.h"
#include "app/MainForm.h"
#include "components/DirectoryEdit.h"
#include "platform/Registry.h"

namespace {

const QString kDirectoryKey = QStringLiteral("Software\\Telquin\\Directory");

TDirectoryEdit* FolderEdit(QGroupBox* group, const QString& name) {
  auto* edit = new TDirectoryEdit(group);
  edit->setObjectName(name);
  edit->SetNumGlyphs(1);
  edit->setMinimumWidth(369);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(edit);
  return edit;
}

}  // namespace

TDirectorySetupDlg::TDirectorySetupDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DirectorySetupDlg"));
  GroupBox1 = new QGroupBox(QStringLiteral("Parameter Directory"), this);
  DirectoryEdit1 = FolderEdit(GroupBox1, QStringLiteral("DirectoryEdit1"));
  GroupBox2 = new QGroupBox(QStringLiteral("Log File Directory"), this);
  DirectoryEdit2 = FolderEdit(GroupBox2, QStringLiteral("DirectoryEdit2"));
  BuildDialogFrame(*this, QStringLiteral("Directory Setup"), {GroupBox1, GroupBox2}, QSize(414, 188), Btn_ok,
                   Button2);
  Btn_ok->setObjectName(QStringLiteral("Btn_ok"));
  Button2->setObjectName(QStringLiteral("Button2"));
  connect(Btn_ok, &QPushButton::clicked, this, [this] { FStoreError.Catch([this] { Btn_okClick(); }); });
  FormCreate();
}

int TDirectorySetupDlg::ShowModal() {
  return FStoreError.Modal([this] { return exec(); }) == QDialog::Accepted ? 1 : 2;
}

void TDirectorySetupDlg::SetDirParameter(const QString& value) {
  if (value == FDirParameter) return;
  FDirParameter = value;
  DirectoryEdit1->setText(value);
}

void TDirectorySetupDlg::SetDirLogFile(const QString& value) {
  if (value == FDirLogFile) return;
  FDirLogFile = value;
  DirectoryEdit2->setText(value);
}

void TDirectorySetupDlg::FormCreate() {
  const QString documents = TMainForm::GetSpecialFolderPath(5);
  platform::Registry reg;
  const bool open = reg.OpenKeyReadOnly(kDirectoryKey);
  const auto read = [&](const QString& name) {
    return open && reg.ValueExists(name) ? reg.ReadString(name) : documents;
  };
  SetDirParameter(read(QStringLiteral("Parameter")));
  SetDirLogFile(read(QStringLiteral("LogFile")));
}

void TDirectorySetupDlg::Btn_okClick() {
  SetDirParameter(DirectoryEdit1->text());
  SetDirLogFile(DirectoryEdit2->text());
  platform::Registry reg;
  if (!reg.OpenKey(kDirectoryKey, true)) throw std::runtime_error("Failed to create key Directory");
  if (!reg.WriteString(QStringLiteral("Parameter"), FDirParameter))
    throw std::runtime_error("Failed to set data for 'Parameter'");
  if (!reg.WriteString(QStringLiteral("LogFile"), FDirLogFile) || !reg.Flush())
    throw std::runtime_error("Failed to set data for 'LogFile'");
}

void InstallDirectorySetup(TMainForm& form, TDirectorySetupDlg& dialog) {
  form.OnDirParameter = [&dialog] { return dialog.DirParameter(); };
  form.OnDirLogFile = [&dialog] { return dialog.DirLogFile(); };
  form.BindAction(TAction::acDirectory, [&dialog] { dialog.ShowModal(); }, &dialog);
}
