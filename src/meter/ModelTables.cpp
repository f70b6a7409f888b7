#include "meter/ModelTables.h"

#include "serial/ComTextForms.h"

using enum TAction;

namespace {

using L = QStringList;

const L kScaleItems{"0.01", "0.1", "1", "10", "100", "1000"};

const L kSecondGenSeHint{"Error Mode Digital/Analog Output", "0: Q1=hold, Q2=hold, QA=hold",
                         "1: Q1=inactive, Q2=inactive, QA=3 mA",
                         "2: Q1=active, Q2=active, QA=21 mA"};

const L kSdItems{"dezimal", "hexadezimal", "binär", "Distanz", "Distanz + Signalstärke",
                 "Distanz + Temperatur", "Distanz + Signalstärke + Temperatur"};
const L kSdFormatHint{"Display Format,", "0: dezimal", "1: hexadezimal", "2: binary"};
const L kSdOutputHint{"Display Output Format,", "0: distance", "1: distance + signal strength",
                      "2: distance + temperature",
                      "3: distance + signal strength + temperature"};

const L kTerminatorItems{"0x0D 0x0A (CR LF)", "0x0D (CR)", "0x0A (LF)",
                         "0x02 (STX)", "0x03 (ETX)", "0x09 (HTAB)",
                         "0x20 (Space)", "0x2C (single Quote)", "0x3B (Semi colon)"};
const L kTerminatorHint{"Output Terminator", "0: 0x0D 0x0A", "1: 0x0D", "2: 0x0A",
                        "3: 0x02 [STX]", "4: 0x03 [ETX]", "5: 0x09 [TAB]", "6: 0x20",
                        "7: 0x2C [,]", "8: 0x38 [;]"};

const L kTriggerEdgeLines{"0: rising edge", "1: falling edge", "2: each edge"};

const TPartDef kStoreOnly{};

// A simple combo box without offered values.
TPartDef Edit(const char* control, const char* standard, L hint) {
  return {control, standard, {}, std::move(hint)};
}

// The four parts of a switching output; `width` is the hint of the width part.
QVector<TPartDef> SwitchingOutput(const QString& q, const QString& suffix, const L& standard,
                                  const QString& width) {
  QVector<TPartDef> parts;
  const L hints{q + " Center", q + " " + width, q + " Hysteresis (0=non)", q + " Level"};
  for (int i = 0; i < 4; ++i)
    parts.append({"cb_" + q.toLower() + suffix + QString::number(i + 1), standard[i], {},
                  {hints[i]}});
  return parts;
}

const QString kWidthWithOff = "Width (End of Range=Center+Width, 100000-off)";

TParamDef Multi(const char* code, QVector<TPartDef> parts) { return {code, std::move(parts)}; }
TParamDef Single(const char* code, TPartDef part) { return {code, {std::move(part)}}; }

// SetStandard steps for codes that take the table's defaults.
QVector<TStandardStep> Steps(const L& codes) {
  QVector<TStandardStep> steps;
  for (const QString& c : codes) steps.append({c, {}});
  return steps;
}

// Key table entries by code; the controls come from the parameter table.
QVector<TKeyDef> Keys(const QVector<TParamDef>& params,
                      std::initializer_list<std::pair<const char*, TReadBack>> keys) {
  QVector<TKeyDef> result;
  for (const auto& [code, rule] : keys) {
    TKeyDef k{code, {}, rule};
    for (const TParamDef& p : params) {
      if (p.code != k.key) continue;
      for (const TPartDef& part : p.parts)
        if (!part.control.isEmpty()) k.controls.append(part.control);
    }
    if (rule == TReadBack::rbFirstField) k.controls = k.controls.mid(0, 1);
    result.append(k);
  }
  return result;
}

// Set Parameter entries; parts 0 sends every part of the parameter.
QVector<TSendDef> Sends(const QVector<TParamDef>& params, QVector<TSendDef> sends) {
  for (TSendDef& s : sends) {
    if (s.code.isEmpty()) s.code = s.wireCode.trimmed();
    if (s.parts == 0)
      for (const TParamDef& p : params)
        if (p.code == s.code) s.parts = p.PartCount();
  }
  return sends;
}

const TFraming kLineFraming{"", "\r\n", 0};
const TGaugeRanges kGauge4to20{21000, 3000, 20001, clRed, 3999, clRed, 19};

const L kRatesPavon{"2400", "4800", "9600", "19200", "38400"};
const L kRatesHexlin{"9600", "19200", "38400", "57600", "115200", "230400", "460800"};
const L kRatesTavri{"9600", "19200", "115200", "230400", "460800", "921600"};
const L kRatesZarel{"9600", "19200", "38400", "57600", "115200", "230400"};

// The rows of the device page: STOP and DT first, TP and ID last.
const TRowSlot kStop{"STOP", acStop};
const TRowSlot kDT{"DT", acDT};
const TRowSlot kDF{"DF", acDF};
const TRowSlot kTP{"TP", acTP};
const TRowSlot kID{"ID", acID};
const TRowSlot kNone{{}};

constexpr auto W = TReadBack::rbWhole;
constexpr auto S = TReadBack::rbSplit;
constexpr auto F = TReadBack::rbFirstField;
constexpr auto LI = TReadBack::rbList;

TModelTable MakePavon() {
  TModelTable t;
  t.device = Pavon;
  t.name = "PAVON";
  t.params = {
      Single("ST", Edit("cb_st", "0", {"Measure Time (0..25, 0=fast)"})),
      Single("SA", Edit("cb_sa", "1", {"Sliding Average (1=non)"})),
      Multi("TD", {Edit("cb_td", "0", {"Trigger Delay (0..9999 ms)"}),
                   Edit("cb_tl", "0", {"Trigger Level (0=H/L Flank, 1=L/H Flank)"})}),
      Multi("TM", {Edit("cb_tm", "0", {"Trigger Mode for AS (0=off, 1=on)"}),
                   Edit("cb_tml", "1", {"Trigger Level for AS (0=H/L Flank, 1=L/H Flank)"})}),
      Single("SF", {"cb_sf", "1", kScaleItems, {"Scale Factor (1=1 mm, 10=0.1 mm)"}}),
      Single("OF", Edit("cb_of", "0", {"Offset (Zero Point Value)"})),
      Single("AS", {"cb_as", "dt", {"dt", "ds", "dw", "dx", "df", "tp", "id"},
                    {"Auto Start", "DT=Distance Tracking", "DS=Distance Tracking up to 7 m",
                     "DW=Distance Tracking with cooprative Target (10 Hz)",
                     "DX=Distance Tracking with cooperative Target (50 Hz)",
                     "DF=Distance Tracking with Trigger", "TP=Temperature",
                     "ID=Identification"}}),
      Single("SE", Edit("cb_se", "2",
                        {"Error Mode", "0..Iout=const., ALARM=const.",
                         "1..Iout=min., ALARM=OFF if AH>0, ON if AH<0",
                         "2..Iout=max., ALARM=ON if AH>0, OFF if AH<0"})),
      Multi("RM",
            {Edit("cb_rmx", "0",
                  {"Number of Preceding Measured Values for Evaluation (0..10, 0=off)"}),
             Edit("cb_rmy", "0", {"Dynamic Range for Expectancy Value (+/- from Evaluated Value)"}),
             Edit("cb_rmz", "0", {"Number of Successively Out-Of-Tolerance Values (0..100)"})}),
      Single("SD", {"cb_sd", "d", {"d", "h", "s"},
                    {"Display Format,", "d=Decimal", "h=Hexadecimal",
                     "s=Decimal + Signal Strength"}}),
      Single("RB", Edit("cb_rb", "0", {"Range Begin (Iout=4 mA)"})),
      Single("RE", Edit("cb_re", "40", {"Range End (Iout=20 mA)"})),
      Single("AC", Edit("cb_ac", "2", {"Alarm Center"})),
      Single("AH", Edit("cb_ah", "0.1", {"Alarm Hysteresis (0=non)"})),
      Single("AW", Edit("cb_aw", "100000", {"Alarm Width (End of Range=AC+AW, 100000=off)"})),
  };
  t.standard = Steps({"SA", "ST", "TD", "TM", "AS", "SE", "RM", "SF", "OF", "SD", "RB", "RE",
                      "AC", "AH", "AW"});
  t.keys = Keys(t.params, {{"ST", W}, {"SA", W}, {"TD", S}, {"TM", S}, {"SF", W}, {"OF", W},
                           {"AS", W}, {"SE", W}, {"RM", S}, {"SD", W}, {"RB", W}, {"RE", W},
                           {"AC", W}, {"AH", W}, {"AW", W}});
  t.sendOrder = Sends(t.params, {{"ST"}, {"SA"}, {"TD"}, {"TM"}, {"SF"}, {"OF"}, {"AS"}, {"SE"},
                                 {"RM"}, {"SD"}, {"RB"}, {"RE"}, {"AC"}, {"AH"}, {"AW"}});
  t.framing = kLineFraming;
  t.gauge = kGauge4to20;
  t.visibleActions = {acDS, acDW, acDX, acDM, acDF, acLF, acSO, acSetProfibus, acBaudrate};
  t.setupRates = kRatesPavon;
  t.setupRate = "9600";
  t.baudDialogRates = kRatesPavon;
  t.autoStartControl = "cb_as";
  t.grafikPage = 0;
  t.outputs = 1;
  t.deviceButtons = {kStop, kDT, {"DW", acDW}, kDF, kTP, kID};
  t.grafikButtons = {kStop, kDT, {"DW", acDW}, kDF};
  t.stop.pauseBeforeRead = 0;
  t.stop.pauseBeforeWrite = 500;
  t.timeSource = TTimeSource::tsStopWatch;
  t.offsetModels = DeviceBit(Pavon);
  t.simuFollowsMode = true;
  return t;
}

TModelTable MakeDorvane() {
  TModelTable t;
  t.device = Dorvane;
  t.name = "DORVANE";
  t.params = {
      Single("SA", Edit("cb_sa_1", "10", {"Arithmetic Average (1..50)"})),
      Multi("TD", {Edit("cb_td_1", "0", {"Trigger Delay (0..9999 ms)"}),
                   Edit("cb_tl_1", "0", {"Trigger Level (0=H/L Flank, 1=L/H Flank)"})}),
      Single("SF", {"cb_sf_1", "1", kScaleItems, {"Scale Factor"}}),
      Single("AS", {"cb_as_1", "dt", {"dt", "df", "dj", "vm", "vt", "tp", "id"},
                    {"Auto Start", "DT=Distance Tracking", "DF=Distance Tracking with Trigger",
                     "DJ=Signal Strength", "VM=Single Speed Measurement", "VT=Speed Tracking",
                     "TP=Temperature", "ID=Identification"}}),
      Single("RB", Edit("cb_rb_1", "0", {"Range Begin (Iout=4 mA)"})),
      Single("RE", Edit("cb_re_1", "50", {"Range End (Iout=20 mA)"})),
      Single("AC", Edit("cb_ac_1", "2", {"Alarm Center"})),
      Single("AH", Edit("cb_ah_1", "0.1", {"Alarm Hysteresis"})),
  };
  t.standard = Steps({"SA", "TD", "AS", "SF", "RB", "RE", "AC", "AH"});
  t.keys = Keys(t.params, {{"SA", W}, {"TD", S}, {"SF", W}, {"AS", W}, {"RB", W}, {"RE", W},
                           {"AC", W}, {"AH", W}});
  // The meter wants a blank between these two codes and their values.
  t.sendOrder = Sends(t.params, {{"AS ", "AS"}, {"SA"}, {"TD"}, {"SF"}, {"RB"}, {"RE"}, {"AC"},
                                 {"AH ", "AH"}});
  t.framing = {" ", "", 8};
  t.gauge = {20000, 4000, 20001, clInfoBk, 3999, clInfoBk, 17};
  t.visibleActions = {acDJ, acDF};
  t.setupRates = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
  t.setupRate = "9600";
  t.autoStartControl = "cb_as_1";
  t.grafikPage = 1;
  t.outputs = 1;
  t.deviceButtons = {kStop, kDT, {"DJ", acDJ}, kDF, kTP, kID};
  t.grafikButtons = {kStop, kDT, kDF, kNone};
  // Replies carry no echo; AS answers with its two letters and no line end.
  t.reply = {false, false, "AS", 2};
  t.stop.probe = true;
  t.lineEnd = ' ';  // its lines begin with a blank and have no line end
  t.simuStrengthBase = 1500;
  return t;
}

TModelTable MakeHexlin() {
  TModelTable t;
  t.device = Hexlin;
  t.name = "HEXLIN/HEXLOR";
  t.params = {
      Single("SA", Edit("cb_sa_2", "200", {"Arithmetic Average (Output Time=SA/MF)"})),
      Single("MF", Edit("cb_mf_2", "2000", {"Measuring Frequency"})),
      Multi("TD",
            {Edit("cb_td_2", "0", {"Trigger Delay (0..300 ms)"}),
             Edit("cb_tl_2", "0", {"Trigger Level ", "0: H/L edge", "1: L/H edge"}),
             Edit("cb_tl_3", "1",
                  {"Trigger Mode ", "0: SA trigger pulses cause SA measurements and one output",
                   "1: one trigger pulse cause SA measurements and one output"})}),
      Single("SF", Edit("cb_sf_2", "1", {"Scale Factor (-10..10)"})),
      Single("OF", Edit("cb_of_2", "0", {"Offset (Zero Point Value)"})),
      Single("AS", {"cb_as_2", "dt", {"id", "tp", "hw", "dt", "dm", "df", "vm", "vt"},
                    {"Auto Start", "ID=Identification", "TP=Temperature", "HW=Hardware status",
                     "DT=Distance Tracking", "DM=Single Distance Measurement",
                     "DF=External triggering", "VM=Single Speed Measurement",
                     "VT=Speed Tracking"}}),
      Multi("SE", {Edit("cb_se_2_1", "2", kSecondGenSeHint), {"", "2"}}),
      Multi("MW", {Edit("cb_mw_2_1", "0", {"Begin of Measure Window"}),
                   Edit("cb_mw_2_2", "5000", {"End of Measure Window"})}),
      Single("PL", {"cb_vp_2", "0", {"off", "on", "blinking 2Hz", "blinking 5Hz"},
                    {"Red Pilot Laser", "0: off", "1: on", "2: blinking 2 Hz",
                     "3: blinking 5 Hz"}}),
      Multi("HE", {Edit("cb_he_2_1", "4", {"HE Heat ON (-60..40 °C)"}),
                   Edit("cb_he_2_2", "10", {"HE Heat OFF (-60..45 °C)"})}),
      Multi("SD", {{"cb_sd_2_1", "0", kSdItems, kSdFormatHint},
                   {"cb_sd_2_2", "0", kSdItems, kSdOutputHint}}),
      Single("TE", {"cb_te_2", "0", kTerminatorItems, kTerminatorHint}),
      Multi("QA", {Edit("cb_qa_2_1", "0", {"Analog Begin 4 mA"}),
                   Edit("cb_qa_2_2", "300", {"Analog End 20 mA"})}),
      Multi("Q1", SwitchingOutput("Q1", "_2_", {"2", "5000", "0.1", "1"}, kWidthWithOff)),
      Multi("Q2", SwitchingOutput("Q2", "_2_", {"4", "5000", "0.1", "1"}, kWidthWithOff)),
      Single("SC", Edit("cb_sc_2", "0",
                        {"SSI Output Format", "0: Binary, 25+1 Bit", "1: Gray, 25+1 Bit"})),
  };
  t.standard = {{"SA", {}}, {"SA", {"10"}, true}, {"MF", {}}, {"MF", {"100"}, true}};
  t.standard += Steps({"TD", "SF", "OF", "AS", "SE", "MW", "PL", "HE", "SD", "TE", "QA", "Q1",
                       "Q2", "SC"});
  t.keys = Keys(t.params, {{"SA", W}, {"MF", W}, {"TD", S}, {"SF", W}, {"OF", W}, {"AS", W},
                           {"SE", F}, {"MW", S}, {"PL", W}, {"HE", S}, {"SD", S}, {"TE", W},
                           {"QA", S}, {"Q1", S}, {"Q2", S}, {"SC", W}});
  // SE's second field has no control: it goes back as the meter reported it,
  // but never on its own, or a meter would take it as the first field.
  t.sendOrder = Sends(t.params, {{"SA"}, {"MF"}, {"TD"}, {"SF"}, {"OF"}, {"AS"},
                                 {"SE", "", 0, false, true}, {"MW"}, {"PL"}, {"HE"}, {"SD"},
                                 {"TE"}, {"QA"}, {"Q1"}, {"Q2"}, {"SC"}});
  t.framing = kLineFraming;
  t.gauge = kGauge4to20;
  t.visibleActions = {acSd, acDM, acDF, acVM, acVT, acSO, acBaudrate};
  t.setupRates = kRatesHexlin;
  t.setupRate = "115200";
  t.baudDialogRates = kRatesHexlin;
  t.autoStartControl = "cb_as_2";
  t.grafikPage = 2;
  t.outputs = 2;
  t.deviceButtons = {kStop, kDT, kDF, kNone, kTP, kID};
  t.grafikButtons = {kStop, kDT, kDF, kNone};
  t.identifyOnStandard = true;
  t.errorModeControl = "cb_se_2_1";
  // The two share the offset: a reply with either current goes to both.
  t.offsetModels = DeviceBit(Hexlin) | DeviceBit(Tavri);
  t.signalEntry = TSignalEntry::seTwoSdParts;
  t.signalMax = 7000;
  t.simuStrengthBase = 1400;
  return t;
}

TModelTable MakeTavri() {
  TModelTable t;
  t.device = Tavri;
  t.name = "TAVRI";
  t.params = {
      Single("SA", Edit("cb_sa_3", "1500", {"Arithmetic Average (Output Time=SA/MF)"})),
      Single("MF", Edit("cb_mf_3", "15000", {"Measuring Frequency"})),
      Single("SF", kStoreOnly),
      Single("OF", Edit("cb_of_3", "0", {"Offset (Zero Point Value)"})),
      Single("AS", {"cb_as_3", "dt", {"id", "tp", "hw", "dt", "dm", "ft"},
                    {"Auto Start", "ID=Identification", "TP=Temperature", "HW=Hardware status",
                     "DT=Distance Tracking", "DM=Single Distance Measurement",
                     "FT=Fast Tracking"}}),
      Multi("SE", {Edit("cb_se_3_1", "2", kSecondGenSeHint), {"", "2"}}),
      Multi("MW", {Edit("cb_mw_3_1", "-270", {"Begin of Measure Window"}),
                   Edit("cb_mw_3_2", "270", {"End of Measure Window"}),
                   Edit("cb_mw_3_3", "0", {"Error message on/off"})}),
      Multi("SD", {{"cb_sd_3_1", "0", kSdItems, kSdFormatHint},
                   {"cb_sd_3_2", "0", kSdItems, kSdOutputHint}}),
      Single("TE", {"cb_te_3", "0", kTerminatorItems, kTerminatorHint}),
      Multi("QA", {Edit("cb_qa_3_1", "0", {"Analog Begin 4 mA"}),
                   Edit("cb_qa_3_2", "30", {"Analog End 20 mA"})}),
      Multi("Q1", SwitchingOutput("Q1", "_3_", {"2", "5000", "0.1", "1"}, kWidthWithOff)),
      Multi("Q2", SwitchingOutput("Q2", "_3_", {"4", "5000", "0.1", "1"}, kWidthWithOff)),
      Single("GN", Edit("cb_gn_3", "0", {"Setupt signal gain (0..3)"})),
      Single("UB", {"cb_ub_3", "10", kTerminatorItems, {"Unit for bit output"}}),
  };
  // SF is not on the page and keeps what the meter reported.
  t.standard = Steps({"SA", "MF", "OF", "AS", "SE", "MW", "SD", "TE", "QA", "Q1", "Q2", "GN",
                      "UB"});
  t.keys = Keys(t.params, {{"SA", W}, {"MF", W}, {"OF", W}, {"AS", W}, {"SE", F}, {"MW", S},
                           {"GN", W}, {"SD", S}, {"TE", W}, {"UB", W}, {"QA", S}, {"Q1", S},
                           {"Q2", S}});
  // SE goes out with its first field only; the meter keeps its second.
  t.sendOrder = Sends(t.params, {{"SA"}, {"MF"}, {"SF"}, {"OF"}, {"AS"}, {"SE", "", 1}, {"MW"},
                                 {"GN"}, {"SD"}, {"TE"}, {"UB"}, {"QA"}, {"Q1"}, {"Q2"}});
  t.framing = kLineFraming;
  t.gauge = kGauge4to20;
  t.visibleActions = {acSd, acDM, acSO, acBaudrate};
  t.setupRates = kRatesTavri;
  t.setupRate = "115200";
  t.baudDialogRates = kRatesTavri;
  t.autoStartControl = "cb_as_3";
  t.grafikPage = 3;
  t.outputs = 2;
  t.deviceButtons = {kStop, kDT, {"Signal", acSd}, kNone, kTP, kID};
  t.grafikButtons = {kStop, kDT, kNone, kNone};
  t.identifyOnStandard = true;  // only a link check: it has no sibling
  t.errorModeControl = "cb_se_3_1";
  t.offsetModels = DeviceBit(Hexlin) | DeviceBit(Tavri);
  t.signalEntry = TSignalEntry::seTwoSdParts;
  t.signalMax = 100;
  t.simuStrengthBase = 35;
  return t;
}

QVector<TPartDef> TriggerParts(const QString& name, const char* what) {
  return {{"cb_" + name + "_4_1", "0", {}, L{what} + kTriggerEdgeLines},
          {"cb_" + name + "_4_2", "0", {}, {"Delay in ms"}}};
}

TModelTable MakeZarel() {
  TModelTable t;
  t.device = KESTO_ZAREL;
  t.name = "KESTO ZAREL";
  QVector<TPartDef> sd{{"cb_sd_4_1", "0", {},
                        {"Display Format,", "0: decimal measure unit", "1: decimal",
                         "2: hexadecimal IEEE-754", "3: hexadezimal", "4: binary"}}};
  for (const char* line : {"0/1: signal quality", "0/1: temperature", "0/1: switching output"})
    sd.append({"cb_sd_4_" + QString::number(sd.size() + 1), "0", {},
               {"Display Output Format,", line}});
  const QString width = "Width (End of Range=Center+Width)";
  t.params = {
      Single("SA", Edit("cb_sa_4", "1", {"Arithmetic Average (Output Time=SA/MF)"})),
      Single("MF", Edit("cb_mf_4", "0", {"Measuring Frequency"})),
      Multi("MW", {Edit("cb_mw_4_1", "-5000000", {"Begin of Measure Window"}),
                   Edit("cb_mw_4_2", "5000000", {"End of Measure Window"})}),
      Single("OF", Edit("cb_of_4", "0", {"Offset (Zero Point Value)"})),
      Single("SF", Edit("cb_sf_4", "0", {"Scale Factor (-10..10)"})),
      {"MUN",
       {{"cb_mun_4", "mm", {"mm", "cm", "dm", "m", "in/8", "in/16", "in", "ft", "yd"},
         {"Measuring unit"}}},
       true},
      Multi("SD", sd),
      {"SP",
       {{"cb_sp_4", "0x2C", {"0x2C", "0x3B", "0x20", "0x2F", "0x09"},
         {"Separator", "0x2C: Comma", "0x3B: Semicolon", "0x20: Space", "0x2F: Slash",
          "0x09: Tabulator"}}},
       true},
      Single("SE", Edit("cb_se_4", "1",
                        {"Error Mode Digital/Analog Output",
                         "0: Q1=hold, Q2=hold, Q3=hold, QA=hold",
                         "1: Q1=inactive, Q2=inactive, Q3=inactive, QA=3 mA",
                         "2: Q1=active, Q2=active, Q3=active, QA=21 mA"})),
      {"AS",
       {{"cb_as_4", "DT",
         {"ID", "ID?", "TP", "DM", "DT", "CT", "DF", "DF;ID", "DF;TP", "DF;DM", "DF;DT", "DF;CT"},
         {"Auto Start", "ID=Identification", "TP=Temperature", "HW=Hardware status",
          "DT=Distance Tracking", "DM=Single Distance Measurement", "DT=Distance Tracking",
          "CT=Continuous Tracking", "DF=Display off", "DF,ID", "DF,TP", "DF,DM", "DF,DT",
          "DF,CT"}}},
       true},
      Multi("QA", {Edit("cb_qa_4_1", "0", {"Analog Begin 4 mA"}),
                   Edit("cb_qa_4_2", "500000", {"Analog End 20 mA"})}),
      Multi("Q1", SwitchingOutput("Q1", "_4_", {"10000", "1000000", "1000", "1"}, width)),
      Multi("Q2", SwitchingOutput("Q2", "_4_", {"20000", "1000000", "1000", "1"}, width)),
      Multi("Q3", SwitchingOutput("Q3", "_4_", {"30000", "1000000", "1000", "1"}, width)),
      Multi("TRI", TriggerParts("tri", "Trigger Input")),
      Multi("TRO", TriggerParts("tro", "Trigger Output")),
      Single("MCT", {"", "0"}),
      // TE survives a blanking: nothing reads it back from the meter.
      {"TE", {{"", "1"}}, false, false},
  };
  // SE passes through "2" on its way to the net default "1".
  t.standard = Steps({"SA", "MF", "MW", "OF", "SF", "MUN", "SD", "SP"});
  t.standard += {{"SE", {"2"}}};
  t.standard += Steps({"AS", "QA", "Q1", "Q2", "Q3", "TRI", "TRO", "MCT", "SE", "TE"});
  t.keys = Keys(t.params, {{"SA", W}, {"MF", W}, {"MW", S}, {"OF", W}, {"SF", W}, {"MUN", LI},
                           {"SD", S}, {"SP", LI}, {"SE", W}, {"AS", LI}, {"QA", S}, {"Q1", S},
                           {"Q2", S}, {"Q3", S}, {"TRI", S}, {"TRO", S}});
  t.sendOrder = Sends(t.params, {{"SA"}, {"MF"}, {"MW"}, {"OF"}, {"SF"}, {"MUN"}, {"SD"},
                                 {"SP", "", 0, true}, {"SE"}, {"AS", "", 0, true}, {"QA"},
                                 {"Q1"}, {"Q2"}, {"Q3"}, {"TRI"}, {"TRO"}});
  t.framing = kLineFraming;
  t.gauge = kGauge4to20;
  t.visibleActions = {acSd, acDM};
  t.setupRates = kRatesZarel;
  t.setupRate = "115200";
  t.baudDialogRates = kRatesZarel;
  t.autoStartControl = "cb_as_4";
  t.grafikPage = -1;  // the diagram-button notebook has only four pages
  t.outputs = 3;
  t.deviceButtons = {kStop, kDT, {"CT", acCT}, {"DM", acDM}, {"Display", acDisplay}, kTP, kID};
  t.reply.valueAfterColon = true;
  t.identifyOnStandard = true;  // only a link check
  t.formattedLines = true;
  t.errorModeControl = "cb_se_4";
  t.signalEntry = TSignalEntry::seFourSdParts;
  t.signalMax = 7000;
  t.simuStrengthBase = 35;
  t.simuLineAsWritten = true;  // its fields may be separated by commas
  return t;
}

const QVector<TModelTable>& AllTables() {
  static const QVector<TModelTable> tables = [] {
    QVector<TModelTable> v{MakePavon(), MakeDorvane(), MakeHexlin(), MakeTavri(), MakeZarel()};
    for (TModelTable& t : v) t.caption = "Telquin (" + t.name + ")";
    return v;
  }();
  return tables;
}

}  // namespace

const TParamDef* TModelTable::Param(const QString& code) const {
  const int i = ParamIndex(code);
  return i < 0 ? nullptr : &params[i];
}

int TModelTable::ParamIndex(const QString& code) const {
  for (int i = 0; i < params.size(); ++i)
    if (params[i].code == code) return i;
  return -1;
}

TBaudRate TModelTable::PortRate() const { return TextToBaudRate(setupRate); }

QStringList TModelTable::Controls() const {
  QStringList names;
  for (const TParamDef& p : params)
    for (const TPartDef& part : p.parts)
      if (!part.control.isEmpty()) names.append(part.control);
  return names;
}

const TModelTable& ModelTable(TDeviceType d) { return AllTables()[DeviceFromOrdinal(d)]; }

const QVector<TAction>& ModelActions() {
  static const QVector<TAction> actions{acDS, acDJ, acSd, acDW, acDX, acDM, acDF, acVM,
                                        acVT, acLF, acSO, acSetProfibus, acBaudrate};
  return actions;
}

const QVector<TSpinDef>& SpinButtons() {
  static const QVector<TSpinDef> spins = [] {
    QVector<TSpinDef> v{
        {"sp_st", "cb_st", false, 0, 25},         {"sp_sa", "cb_sa", false, 1, 20},
        {"sp_sa_1", "cb_sa_1", false, 1, 50},     {"sp_sa_2", "cb_sa_2", false, 0, 30000},
        {"sp_sa_3", "cb_sa_3", false, 0, 30000},  {"sp_sa_4", "cb_sa_4", false, 1, 50},
        {"sp_mf_2", "cb_mf_2", false, 1, 10000},  {"sp_mf_3", "cb_mf_3", false, 1, 30000},
        {"sp_mf_4", "cb_mf_4", false, 0, 100},    {"sp_se", "cb_se", false, 0, 2},
        {"sp_se_2", "cb_se_2_1", false, 0, 2},    {"sp_se_3", "cb_se_3_1", false, 0, 2},
        {"sp_se_4", "cb_se_4", false, 0, 2},      {"sp_sd_2_1", "cb_sd_2_1", false, 0, 2},
        {"sp_sd_2_2", "cb_sd_2_2", false, 0, 3},  {"sp_sd_3_1", "cb_sd_3_1", false, 0, 2},
        {"sp_sd_3_2", "cb_sd_3_2", false, 0, 3},  {"sp_sf_4", "cb_sf_4", false, -10, 10},
        {"sp_te_2", "cb_te_2", false, 0, 8},      {"sp_te_3", "cb_te_3", false, 0, 8},
        {"sp_tl", "cb_tl", false, 0, 1},          {"sp_tl_1", "cb_tl_1", false, 0, 1},
        {"sp_vp_2", "cb_vp_2", false, 0, 3},
    };
    for (const char* list : {"as", "as_1", "as_2", "as_3", "sd", "sf", "sf_1"})
      v.append({QString("sp_") + list, QString("cb_") + list, true, 0, 0});
    return v;
  }();
  return spins;
}

const TSpinDef* SpinButton(const QString& spin) {
  for (const TSpinDef& s : SpinButtons())
    if (s.spin == spin) return &s;
  return nullptr;
}
