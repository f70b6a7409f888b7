#include "components/DirectoryEdit.h"

#include <QFileInfo>

#include "components/ToolSpeedButton.h"

TDirectoryEdit::TDirectoryEdit(QWidget* parent) : TFileDirEdit(parent) {}

void TDirectoryEdit::ButtonClick() {
  PopupCloseUp(false);
  if (OnButtonClick) OnButtonClick(this);
  QString temp = text();
  bool action = true;
  if (OnBeforeDialog) OnBeforeDialog(this, temp, action);
  if (!action) return;
  if (temp.isEmpty()) temp = FInitialDir.isEmpty() ? QStringLiteral("/") : FInitialDir;
  if (!IsFolder(temp)) temp = QStringLiteral("/");
  if (NewStyleControls() && FDialogKind == dkWin32)
    action = BrowseForDirectory(temp, FDialogText, HelpContext());
  else
    action = SelectDirectory(temp, FOptions, HelpContext(), this);
  if (isEnabled() && focusPolicy() != Qt::NoFocus) setFocus(Qt::OtherFocusReason);
  if (OnAfterDialog) OnAfterDialog(this, temp, action);
  if (!action) return;
  if (hasSelectedText()) {
    QString rest = text();
    rest.remove(selectionStart(), selectedText().size());
    setText(rest);
  }
  TakeFolder(temp);
  if (IsFolder(temp)) FInitialDir = temp;
}

void TDirectoryEdit::TakeFolder(const QString& folder) {
  if (MultipleDirs() && !text().isEmpty()) setText(text() + ';' + folder);
  else setText(folder);
}

void TDirectoryEdit::ReceptFileDir(const QString& name) {
  const QFileInfo info(name);
  TakeFolder(info.isFile() ? info.absolutePath() : name);
}

QString TDirectoryEdit::ConvertParts(QString (*convert)(const QString&)) const {
  if (!MultipleDirs()) return convert(text());
  QString result;
  for (const QString& part : text().split(';')) {
    const QString converted = convert(part);
    if (converted.isEmpty()) continue;
    if (!result.isEmpty()) result += ';';
    result += converted;
  }
  return result;
}

QString TDirectoryEdit::LongName() const { return ConvertParts(&LongPathName); }
QString TDirectoryEdit::ShortName() const { return ConvertParts(&ShortPathName); }
