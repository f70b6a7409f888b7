// Storing and loading the port's settings, in the settings store or in an
// INI file. One table lists every stored value with its group, its stored
// form and how it is read from and written to the port.
#include <optional>
#include <stdexcept>

#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "serial/ComPort.h"
#include "serial/ComTextForms.h"

namespace {

struct StoreFailure : std::runtime_error {
  StoreFailure() : std::runtime_error("settings store failed") {}
};

struct StoredValue {
  TStoredProp group;
  const char* name;
  bool integer;  // a 32-bit integer value in the registry, decimal text in INI files
  QString (*get)(const TCustomComPort& p);
  void (*set)(TCustomComPort& p, const QString& text);
  bool (*present)(const TCustomComPort& p) = nullptr;  // stored only when this holds
};

QString Int(int v) { return QString::number(v); }
int ToInt(const QString& s) { return s.toInt(); }

// In the order they are written and read.
const StoredValue kValues[] = {
    {spBasic, "Port", false, [](const TCustomComPort& p) { return p.Port(); },
     [](TCustomComPort& p, const QString& s) { p.SetPort(s); }},
    {spBasic, "BaudRate", false, [](const TCustomComPort& p) { return BaudRateToText(p.BaudRate()); },
     [](TCustomComPort& p, const QString& s) { p.SetBaudRate(TextToBaudRate(s)); }},
    {spBasic, "CustomBaudRate", true, [](const TCustomComPort& p) { return Int(p.CustomBaudRate()); },
     [](TCustomComPort& p, const QString& s) { p.SetCustomBaudRate(ToInt(s)); },
     [](const TCustomComPort& p) { return p.BaudRate() == brCustom; }},
    {spBasic, "StopBits", false, [](const TCustomComPort& p) { return StopBitsToText(p.StopBits()); },
     [](TCustomComPort& p, const QString& s) { p.SetStopBits(TextToStopBits(s)); }},
    {spBasic, "DataBits", false, [](const TCustomComPort& p) { return DataBitsToText(p.DataBits()); },
     [](TCustomComPort& p, const QString& s) { p.SetDataBits(TextToDataBits(s)); }},
    {spBasic, "Parity", false, [](const TCustomComPort& p) { return ParityToText(p.Parity().Bits()); },
     [](TCustomComPort& p, const QString& s) { p.Parity().SetBits(TextToParity(s)); }},
    {spBasic, "FlowControl", false,
     [](const TCustomComPort& p) { return FlowControlToText(p.FlowControl().FlowControl()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetFlowControl(TextToFlowControl(s)); }},

    {spOthers, "EventChar", false, [](const TCustomComPort& p) { return CharToText(p.EventChar()); },
     [](TCustomComPort& p, const QString& s) { p.SetEventChar(TextToChar(s)); }},
    {spOthers, "DiscardNull", false, [](const TCustomComPort& p) { return BoolToYesNo(p.DiscardNull()); },
     [](TCustomComPort& p, const QString& s) { p.SetDiscardNull(YesNoToBool(s)); }},

    {spParity, "Parity.Check", false,
     [](const TCustomComPort& p) { return BoolToYesNo(p.Parity().Check()); },
     [](TCustomComPort& p, const QString& s) { p.Parity().SetCheck(YesNoToBool(s)); }},
    {spParity, "Parity.Replace", false,
     [](const TCustomComPort& p) { return BoolToYesNo(p.Parity().Replace()); },
     [](TCustomComPort& p, const QString& s) { p.Parity().SetReplace(YesNoToBool(s)); }},
    {spParity, "Parity.ReplaceChar", false,
     [](const TCustomComPort& p) { return CharToText(p.Parity().ReplaceChar()); },
     [](TCustomComPort& p, const QString& s) { p.Parity().SetReplaceChar(TextToChar(s)); }},

    {spBuffer, "Buffer.OutputSize", true,
     [](const TCustomComPort& p) { return Int(p.Buffer().OutputSize()); },
     [](TCustomComPort& p, const QString& s) { p.Buffer().SetOutputSize(ToInt(s)); }},
    {spBuffer, "Buffer.InputSize", true,
     [](const TCustomComPort& p) { return Int(p.Buffer().InputSize()); },
     [](TCustomComPort& p, const QString& s) { p.Buffer().SetInputSize(ToInt(s)); }},

    {spTimeouts, "Timeouts.ReadInterval", true,
     [](const TCustomComPort& p) { return Int(p.Timeouts().ReadInterval()); },
     [](TCustomComPort& p, const QString& s) { p.Timeouts().SetReadInterval(ToInt(s)); }},
    {spTimeouts, "Timeouts.ReadTotalConstant", true,
     [](const TCustomComPort& p) { return Int(p.Timeouts().ReadTotalConstant()); },
     [](TCustomComPort& p, const QString& s) { p.Timeouts().SetReadTotalConstant(ToInt(s)); }},
    {spTimeouts, "Timeouts.ReadTotalMultiplier", true,
     [](const TCustomComPort& p) { return Int(p.Timeouts().ReadTotalMultiplier()); },
     [](TCustomComPort& p, const QString& s) { p.Timeouts().SetReadTotalMultiplier(ToInt(s)); }},
    {spTimeouts, "Timeouts.WriteTotalConstant", true,
     [](const TCustomComPort& p) { return Int(p.Timeouts().WriteTotalConstant()); },
     [](TCustomComPort& p, const QString& s) { p.Timeouts().SetWriteTotalConstant(ToInt(s)); }},
    {spTimeouts, "Timeouts.WriteTotalMultiplier", true,
     [](const TCustomComPort& p) { return Int(p.Timeouts().WriteTotalMultiplier()); },
     [](TCustomComPort& p, const QString& s) { p.Timeouts().SetWriteTotalMultiplier(ToInt(s)); }},

    {spFlowControl, "FlowControl.ControlRTS", false,
     [](const TCustomComPort& p) { return RTSToText(p.FlowControl().ControlRTS()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetControlRTS(TextToRTS(s)); }},
    {spFlowControl, "FlowControl.ControlDTR", false,
     [](const TCustomComPort& p) { return DTRToText(p.FlowControl().ControlDTR()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetControlDTR(TextToDTR(s)); }},
    {spFlowControl, "FlowControl.DSRSensitivity", false,
     [](const TCustomComPort& p) { return BoolToYesNo(p.FlowControl().DSRSensitivity()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetDSRSensitivity(YesNoToBool(s)); }},
    {spFlowControl, "FlowControl.OutCTSFlow", false,
     [](const TCustomComPort& p) { return BoolToYesNo(p.FlowControl().OutCTSFlow()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetOutCTSFlow(YesNoToBool(s)); }},
    {spFlowControl, "FlowControl.OutDSRFlow", false,
     [](const TCustomComPort& p) { return BoolToYesNo(p.FlowControl().OutDSRFlow()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetOutDSRFlow(YesNoToBool(s)); }},
    {spFlowControl, "FlowControl.TxContinueOnXoff", false,
     [](const TCustomComPort& p) { return BoolToYesNo(p.FlowControl().TxContinueOnXoff()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetTxContinueOnXoff(YesNoToBool(s)); }},
    {spFlowControl, "FlowControl.XonXoffIn", false,
     [](const TCustomComPort& p) { return BoolToYesNo(p.FlowControl().XonXoffIn()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetXonXoffIn(YesNoToBool(s)); }},
    {spFlowControl, "FlowControl.XonXoffOut", false,
     [](const TCustomComPort& p) { return BoolToYesNo(p.FlowControl().XonXoffOut()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetXonXoffOut(YesNoToBool(s)); }},
    {spFlowControl, "FlowControl.XoffChar", false,
     [](const TCustomComPort& p) { return CharToText(p.FlowControl().XoffChar()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetXoffChar(TextToChar(s)); }},
    {spFlowControl, "FlowControl.XonChar", false,
     [](const TCustomComPort& p) { return CharToText(p.FlowControl().XonChar()); },
     [](TCustomComPort& p, const QString& s) { p.FlowControl().SetXonChar(TextToChar(s)); }},
};

template <typename Fn>
void ForEachStored(const TCustomComPort& port, Fn fn) {
  for (const StoredValue& v : kValues) {
    if (!port.StoredProps().Contains(v.group)) continue;
    if (v.present && !v.present(port)) continue;
    fn(v);
  }
}

void Check(bool ok) {
  if (!ok) throw StoreFailure();
}

// Opens "ROOT\Key\Path" plus "\" and the component's name, creating it.
bool OpenRegistryPath(platform::Registry& Reg, const QString& Path, const QString& Name) {
  const qsizetype slash = Path.indexOf(QLatin1Char('\\'));
  if (slash < 0) return false;
  const QString root = Path.left(slash);
  if (root.compare(QLatin1String("HKEY_LOCAL_MACHINE"), Qt::CaseInsensitive) == 0)
    Reg.SetRootKey(platform::Registry::LocalMachine);
  else if (root.compare(QLatin1String("HKEY_CURRENT_USER"), Qt::CaseInsensitive) == 0)
    Reg.SetRootKey(platform::Registry::CurrentUser);
  QString key = Path.mid(slash + 1);
  if (!key.endsWith(QLatin1Char('\\'))) key += QLatin1Char('\\');
  return Reg.OpenKey(key + Name, true);
}

}  // namespace

void TCustomComPort::StoreToRegistry(platform::Registry& Reg) {
  ForEachStored(*this, [&](const StoredValue& v) {
    const QString name = QLatin1String(v.name);
    Check(v.integer ? Reg.WriteInteger(name, v.get(*this).toInt())
                    : Reg.WriteString(name, v.get(*this)));
  });
}

void TCustomComPort::StoreToIniFile(platform::IniFile& Ini) {
  ForEachStored(*this, [&](const StoredValue& v) {
    Check(Ini.WriteString(Name(), QLatin1String(v.name), v.get(*this)));
  });
}

void TCustomComPort::LoadFromRegistry(platform::Registry& Reg) {
  // "present" is asked after the values before it were applied, so the
  // custom rate is read when the stored rate was "Custom".
  ForEachStored(*this, [&](const StoredValue& v) {
    const QString name = QLatin1String(v.name);
    if (v.integer) {
      const std::optional<qint32> n = Reg.ReadInteger(name);
      Check(n.has_value());
      v.set(*this, QString::number(*n));
    } else {
      v.set(*this, Reg.ReadString(name));
    }
  });
}

void TCustomComPort::LoadFromIniFile(platform::IniFile& Ini) {
  ForEachStored(*this, [&](const StoredValue& v) {
    const QString name = QLatin1String(v.name);
    if (v.integer)
      v.set(*this, QString::number(Ini.ReadInteger(Name(), name, v.get(*this).toInt())));
    else
      v.set(*this, Ini.ReadString(Name(), name, v.get(*this)));
  });
}

void TCustomComPort::StoreSettings(TStoreType StoreType, const QString& StoreTo) {
  bool ok = true;
  try {
    if (StoreType == stIniFile) {
      platform::IniFile ini(StoreTo);
      ini.BeginUpdate();
      StoreToIniFile(ini);
      ok = ini.EndUpdate();
    } else {
      platform::Registry reg;
      ok = OpenRegistryPath(reg, StoreTo, Name());
      if (ok) StoreToRegistry(reg);
      ok = ok && reg.Flush();
    }
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) CallException(16);
}

void TCustomComPort::LoadSettings(TStoreType StoreType, const QString& LoadFrom) {
  BeginUpdate();
  bool ok = true;
  try {
    if (StoreType == stIniFile) {
      platform::IniFile ini(LoadFrom);
      LoadFromIniFile(ini);
    } else {
      platform::Registry reg;
      ok = OpenRegistryPath(reg, LoadFrom, Name());
      if (ok) LoadFromRegistry(reg);
    }
  } catch (const std::exception&) {
    ok = false;
  }
  EndUpdate();
  if (!ok) CallException(17);
}
