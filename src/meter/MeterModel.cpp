#include "meter/MeterModel.h"

#include "meter/TextFields.h"

TMeterModel::TMeterModel(TDeviceType device, TParamControls* controls)
    : FTable(ModelTable(device)), FControls(controls) {
  FValues.reserve(FTable.params.size());
  for (const TParamDef& p : FTable.params) FValues.append(QStringList(p.PartCount(), QString()));
}

int TMeterModel::PartCount(const QString& code) const {
  const TParamDef* p = FTable.Param(code);
  return p ? p->PartCount() : 0;
}

QString TMeterModel::Param(const QString& code, int part) const {
  const int p = FTable.ParamIndex(code);
  if (p < 0 || part < 0 || part >= FValues[p].size()) return {};
  return FValues[p][part];
}

void TMeterModel::SetParam(const QString& code, int part, const QString& value) {
  const int p = FTable.ParamIndex(code);
  if (p < 0 || part < 0 || part >= FValues[p].size()) return;
  const TParamDef& def = FTable.params[p];
  const QString& control = def.parts[part].control;
  if (def.dropDownList) {
    // Only an item can be held, in the list's own letter case.
    const QStringList& items = def.parts[part].items;
    const int i = IndexOfText(items, value);
    FValues[p][part] = i < 0 ? QString() : items[i];
    if (FControls && !control.isEmpty()) FControls->SetItemIndex(control, i);
    return;
  }
  QString v = value;
  v.replace(QLatin1Char(','), QLatin1Char('.'));
  FValues[p][part] = v;
  if (FControls && !control.isEmpty()) FControls->SetText(control, v);
}

QString TMeterModel::SendValue(const TSendDef& send) const {
  const int p = FTable.ParamIndex(send.code);
  if (p < 0) return {};
  if (send.listPosition) {
    const int i = IndexOfText(FTable.params[p].parts[0].items, FValues[p][0]);
    return i < 0 ? QString() : QString::number(i + 1);
  }
  if (send.withFirstPartOnly && FValues[p][0].trimmed().isEmpty()) return {};
  return FValues[p].mid(0, send.parts).join(QLatin1Char(' '));
}

void TMeterModel::BlankParameter() {
  for (const TParamDef& p : FTable.params) {
    if (!p.blanked) continue;
    for (int i = 0; i < p.PartCount(); ++i) SetParam(p.code, i, QString());
  }
}

void TMeterModel::CopyDataToPuffer() {
  if (!FControls) return;
  for (int p = 0; p < FTable.params.size(); ++p) {
    const TParamDef& def = FTable.params[p];
    for (int i = 0; i < def.PartCount(); ++i)
      if (!def.parts[i].control.isEmpty()) FValues[p][i] = FControls->Text(def.parts[i].control);
  }
}

void TMeterModel::ApplyStandard(bool hexlor) {
  for (const TStandardStep& step : FTable.standard) {
    if (step.hexlorOnly && !hexlor) continue;
    const TParamDef* def = FTable.Param(step.code);
    if (!def) continue;
    for (int i = 0; i < def->PartCount(); ++i) {
      if (!step.values.isEmpty() && i >= step.values.size()) break;
      SetParam(step.code, i, step.values.isEmpty() ? def->parts[i].standard : step.values[i]);
    }
  }
}

TZarelFormat ZarelFormatOf(const TMeterModel& model) {
  TZarelFormat f;
  for (int i = 0; i < 4; ++i) f.SD[i] = model.Param(QStringLiteral("SD"), i);
  f.SP = model.Param(QStringLiteral("SP"));
  f.SF = model.Param(QStringLiteral("SF"));
  f.MUN = model.Param(QStringLiteral("MUN"));
  return f;
}
