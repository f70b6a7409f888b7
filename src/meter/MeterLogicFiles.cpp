// Parameter file and clipboard actions: between the page and the outside,
// never the meter.
#include "meter/MeterLogic.h"
#include "meter/ParamFile.h"

namespace {
const QString kTextFilter = QStringLiteral("Text File(*.txt)|*.txt|csv File(*.csv)|*.csv");
}  // namespace

void TMeterLogic::acSaveExecute() {
  const std::optional<QString> file =
      FView.ExecuteSaveDialog({FView.DirParameter(), QStringLiteral("txt"), kTextFilter, 1});
  if (!file) return;
  const TParamSaveResult result = SaveParamFile(*file, FView.Controls(), Device());
  if (result.ok)
    SetStatusText(2, result.text);
  else
    FView.ShowError(result.text);  // the old file is left as it was
}

void TMeterLogic::acOpenExecute() {
  // Filters and the filter index last chosen stay as the dialog has them.
  const std::optional<QString> file =
      FView.ExecuteOpenDialog({FView.DirParameter(), QStringLiteral("txt"), QString(), 0});
  if (!file) return;
  SetStatusText(2, OpenParamFile(*file, FView.Controls(), Device()));
}

void TMeterLogic::acExportExecute() {
  const QString text = ExportParamText(FView.Controls(), Device());
  FView.SetMemo1Text(text);
  FView.SetClipboardText(text);
  SetStatusText(2, QString::fromLatin1(ParamExportStatus));
}

void TMeterLogic::acImportExecute() {
  FView.SetMemo1Text(QString());
  const QString text = FView.ClipboardText();
  FView.SetMemo1Text(text);
  ImportParamText(text, FView.Controls(), Device());
  SetStatusText(2, QString::fromLatin1(ParamImportStatus));
}
