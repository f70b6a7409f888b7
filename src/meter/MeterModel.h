#pragma once
// Common base of the five model parameter sets. Every value is text, exactly
// as exchanged with the meter. A write goes through the setter rule and is
// shown at once in the part's page control; the page reaches the object only
// through CopyDataToPuffer. Without page controls (nullptr) the object only
// stores.

#include <QString>
#include <QStringList>
#include <QVector>

#include "meter/MeasurementDecoder.h"
#include "meter/ModelTables.h"
#include "meter/ParamControls.h"

class TMeterModel {
 public:
  explicit TMeterModel(TDeviceType device, TParamControls* controls = nullptr);
  TMeterModel(const TMeterModel&) = delete;
  TMeterModel& operator=(const TMeterModel&) = delete;

  TDeviceType Device() const { return FTable.device; }
  const TModelTable& Table() const { return FTable; }

  TParamControls* Controls() const { return FControls; }
  void SetControls(TParamControls* controls) { FControls = controls; }

  // Access by command code and part; an unknown code or a part out of range
  // reads as '' and is not written.
  bool HasParam(const QString& code) const { return FTable.ParamIndex(code) >= 0; }
  int PartCount(const QString& code) const;
  QString Param(const QString& code, int part = 0) const;
  void SetParam(const QString& code, int part, const QString& value);
  void SetParam(const QString& code, const QString& value) { SetParam(code, 0, value); }

  // What Set Parameter sends for this line: the parts joined by one blank, or
  // for a list position the selected item's position + 1 ('' when nothing is
  // selected, so the line is skipped like any empty value). A line that needs
  // its first part is '' while that part is blank.
  QString SendValue(const TSendDef& send) const;

  void BlankParameter();
  void CopyDataToPuffer();

  // The factory defaults in the table's order; `hexlor` only matters for
  // the steps that exist for the HEXLOR sibling.
  void ApplyStandard(bool hexlor);

 private:
  const TModelTable& FTable;
  TParamControls* FControls;
  QVector<QStringList> FValues;  // per parameter in field order, one text per part
};

// The parameters that shape a model's lines (SD parts, SP, SF, MUN), as the
// model object holds them; for the models with formattedLines.
TZarelFormat ZarelFormatOf(const TMeterModel& model);

// Accessors under the parameters' names: P_SA() / SetP_SA(v) for one part,
// P_TD(i) / SetP_TD(i, v) for a parameter of several parts.
#define TELQUIN_PARAM(code)                                           \
  QString P_##code() const { return Param(QStringLiteral(#code)); }   \
  void SetP_##code(const QString& v) { SetParam(QStringLiteral(#code), 0, v); }
#define TELQUIN_PARAM_PARTS(code)                                              \
  QString P_##code(int i) const { return Param(QStringLiteral(#code), i); }    \
  void SetP_##code(int i, const QString& v) { SetParam(QStringLiteral(#code), i, v); }
