#pragma once
// Everything that differs between the five meter models, kept as data: one
// table per model. The model objects, the parameter page, the file and
// clipboard text, the read/write logic, the model switch and the dialogs all
// walk these tables instead of repeating per-model code.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <optional>

#include "meter/Action.h"
#include "meter/DeviceType.h"
#include "platform/Color.h"
#include "serial/ComTypes.h"

// One part of a parameter and the page control that shows it.
struct TPartDef {
  QString control = {};    // empty: the part is held in the model object only
  QString standard = {};   // factory default
  QStringList items = {};  // offered values of the control
  QStringList hint = {};   // hint lines of the control
};

struct TParamDef {
  QString code;
  QVector<TPartDef> parts = {};
  // A drop-down list: the control holds only its items, the setter looks the
  // value up among them (letter case ignored) and the file stores the item text.
  bool dropDownList = false;
  bool blanked = true;  // covered by BlankParameter

  int PartCount() const { return static_cast<int>(parts.size()); }
};

// One step of SetStandard: the code gets `values` (empty: the table's defaults).
struct TStandardStep {
  QString code;
  QStringList values = {};
  bool hexlorOnly = false;  // only when the meter identified itself as HEXLOR
};

// How a key's value from a file or the clipboard fills its controls.
enum class TReadBack : std::uint8_t {
  rbWhole,       // the whole value into the one control
  rbSplit,       // one blank-separated field per control
  rbFirstField,  // only the first blank-separated field, into the one control
  rbList,        // select the item equal to the value (case ignored), else the first
};

struct TKeyDef {
  QString key;
  QStringList controls;  // in part order
  TReadBack readBack;
};

// One line of Set Parameter.
struct TSendDef {
  QString wireCode;  // as sent, e.g. DORVANE's "AS " with the blank
  QString code = {};  // the parameter it takes its value from (default: wireCode)
  int parts = 0;       // how many parts are sent from part 0 (default: all)
  bool listPosition = false;  // sent as the item's position + 1, not as text
  // Parts after the first go out only together with a first part: with part 0
  // blank the line is skipped, though a part the meter reported is kept.
  bool withFirstPartOnly = false;
};

struct TFraming {
  QByteArray startString;
  QByteArray stopString;
  int size = 0;
};

struct TGaugeRanges {
  int Max;
  int Min;
  int HighZone;
  TColor HighZoneColor;
  int LowZone;
  TColor LowZoneColor;
  int TickCount;
};

// How the value is found in a query's reply.
struct TReplyRule {
  bool echo = true;              // the reply repeats the code; else leading blanks are dropped
  bool valueAfterColon = false;  // with the echo found, the value follows the first ':'
  QString fixedCode = {};        // a code answered by fixedSize characters without line end
  int fixedSize = 0;
};

// How a streaming meter is brought to rest before a transfer.
struct TStopRule {
  bool probe = false;  // ESC only while it sends, then probes until it is quiet
  std::uint32_t pauseBeforeRead = 1000;   // ms after ESC, before Get Parameter asks
  std::uint32_t pauseBeforeWrite = 1000;  // ms after ESC, before Set Parameter sends
};

// What stamps a measurement line.
enum class TTimeSource : std::uint8_t {
  tsCounter,    // the line count times the time unit the meter reported
  tsStopWatch,  // the stopwatch, to the millisecond
};

// How the signal-strength action opens its window.
enum class TSignalEntry : std::uint8_t {
  seNone,           // not offered
  seTwoSdParts,     // with SD's two parts
  seFourSdParts,    // with SD's four parts and the separator's list position
};

// One button of a row at the foot of a page; an empty action leaves its
// place empty.
struct TRowSlot {
  QString caption;
  std::optional<TAction> action = {};
};

struct TModelTable {
  TDeviceType device;
  QString name;                      // model box, caption, the model's text everywhere
  QString caption;                   // main window caption
  QVector<TParamDef> params;         // field order
  QVector<TStandardStep> standard;   // SetStandard order
  QVector<TKeyDef> keys;             // parameter file and clipboard, in order
  QVector<TSendDef> sendOrder;       // Set Parameter
  TFraming framing;                  // measurement packets
  TGaugeRanges gauge;                // current-output gauge
  QVector<TAction> visibleActions;   // of ModelActions(), those shown
  QStringList setupRates;            // interface setup dialog
  QString setupRate;                 // preselected there; also the model's port rate (PortRate)
  QStringList baudDialogRates;       // baud-rate dialog (empty: nothing offered)
  QString autoStartControl;          // list of valid auto-start commands
  int grafikPage;                    // diagram-button page; -1 leaves it as it is
  int outputs;                       // switching-output lamps shown (1..3)
  QVector<TRowSlot> deviceButtons;   // the row of the device page
  QVector<TRowSlot> grafikButtons;   // the diagram page's row before Clear, Setup, Print, Save

  TReplyRule reply;
  TStopRule stop;
  // Set Standard asks the meter's ID after the defaults and sets them again;
  // a meter that names itself HEXLOR gets the steps marked hexlorOnly.
  bool identifyOnStandard = false;
  TTimeSource timeSource = TTimeSource::tsCounter;
  // Its lines are shaped by SD, SP, SF and MUN: decoding and the simulated
  // meter read them from the model object.
  bool formattedLines = false;
  // The page control whose error mode chooses the error current; empty: the
  // model object's SE.
  QString errorModeControl = {};
  char lineEnd = '\n';  // the received character that ends a line for the line counter
  // Where the reply of SO (the offset) is stored; empty: the model has no SO.
  TDeviceSet offsetModels = 0;
  TSignalEntry signalEntry = TSignalEntry::seNone;
  int signalMax = 0;  // the signal window's top for the signal-strength action

  // The simulated meter.
  bool simuFollowsMode = false;   // measuring mode commands change its line period
  int simuStrengthBase = 0;       // signal strength less the noise 0..9
  bool simuLineAsWritten = false;  // the decoder reads its commas as they are

  // The port's rate for the model: the model switch sets it.
  TBaudRate PortRate() const;

  const TParamDef* Param(const QString& code) const;
  int ParamIndex(const QString& code) const;  // -1 when the model has no such code
  // Every control of the model's page, in field order.
  QStringList Controls() const;
};

const TModelTable& ModelTable(TDeviceType d);

// The model-specific actions whose visibility the model switch sets.
const QVector<TAction>& ModelActions();

struct TSpinDef {
  QString spin;
  QString control;
  bool listRule;  // step through the items; else step the number in min..max
  int minimum;
  int maximum;
};

// The spin buttons beside the parameter controls.
const QVector<TSpinDef>& SpinButtons();
const TSpinDef* SpinButton(const QString& spin);
