#pragma once
// The parameter file and the clipboard text: the current model's page
// controls as key=value lines, in the order of the model's key table. Both
// work between the page controls and the outside only; the model objects
// see the values with the next Set Parameter.

#include <QByteArray>
#include <QString>

#include "meter/ModelTables.h"
#include "meter/ParamControls.h"

// A key's value as the page shows it: the controls' texts in part order
// joined by one blank, every part written; a drop-down list gives its
// selected item's text.
QString ParamValue(const TParamControls& controls, const TKeyDef& key);

// Fills a key's controls from a value read back, by the key's rule.
void FillParam(TParamControls& controls, const TKeyDef& key, QString value);

// --- File ---

// The exact file content: "[Parameter]" and one key=value line per key, CR LF.
QByteArray ParamFileData(const TParamControls& controls, TDeviceType device);

struct TParamSaveResult {
  bool ok;
  QString text;  // the status text (" Write: <name>") or the error message
};

// Writes the file beside the old one and replaces it only when all of it is
// written, so a failure leaves the old file as it was.
TParamSaveResult SaveParamFile(const QString& fileName, const TParamControls& controls,
                               TDeviceType device);

// Fills the page from a file (a missing file, section or key reads as
// empty). Returns the status text " Read: <name>".
QString OpenParamFile(const QString& fileName, TParamControls& controls, TDeviceType device);

// The same from the file's bytes.
void ReadParamFileData(const QByteArray& data, TParamControls& controls, TDeviceType device);

// --- Clipboard ---

inline constexpr char ParamExportStatus[] = " Export to Clipboard";
inline constexpr char ParamImportStatus[] = " Import from Clipboard";

// The clipboard text: the file's key lines without the section line.
QString ExportParamText(const TParamControls& controls, TDeviceType device);

// Fills the page from a clipboard text: per key the first line whose name
// (the text before its first "=") equals the key, case ignored; the value is
// everything after that "=", as it stands.
void ImportParamText(const QString& text, TParamControls& controls, TDeviceType device);
