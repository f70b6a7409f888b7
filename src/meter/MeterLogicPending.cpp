// Placeholders until the transfers, single commands and port events are written.
#include "meter/MeterLogic.h"

void TMeterLogic::acGetParameterExecute() {}
void TMeterLogic::acSetParameterExecute() {}
void TMeterLogic::acSetStandardExecute() {}
void TMeterLogic::acSetProfibusExecute() {}
void TMeterLogic::acOpenExecute() {}
void TMeterLogic::acSaveExecute() {}
void TMeterLogic::acExportExecute() {}
void TMeterLogic::acImportExecute() {}
void TMeterLogic::acDTExecute() {}
void TMeterLogic::acDSExecute() {}
void TMeterLogic::acDWExecute() {}
void TMeterLogic::acDXExecute() {}
void TMeterLogic::acDFExecute() {}
void TMeterLogic::acDMExecute() {}
void TMeterLogic::acCTExecute() {}
void TMeterLogic::acVMExecute() {}
void TMeterLogic::acVTExecute() {}
void TMeterLogic::acTPExecute() {}
void TMeterLogic::acIDExecute() {}
void TMeterLogic::acDeviceExecute() {}
void TMeterLogic::acLFExecute() {}
void TMeterLogic::acLOExecute() {}
void TMeterLogic::acDisplayExecute() {}
void TMeterLogic::acStopExecute() {}
void TMeterLogic::acSOExecute() {}
void TMeterLogic::acBaudrateExecute() {}
void TMeterLogic::acDJExecute() {}
void TMeterLogic::acSdExecute() {}
void TMeterLogic::acOpenPortExecute() {}
void TMeterLogic::acViewFileExecute() {}
void TMeterLogic::Test1Click() {}
void TMeterLogic::BitBtn73Click() {}
void TMeterLogic::onUpdate() {}
void TMeterLogic::ComPortAfterOpen() {}
void TMeterLogic::ComPortAfterClose() {}
void TMeterLogic::ComPortRx80Full() {}
void TMeterLogic::ComTerminalDblClick() {}
void TMeterLogic::IncLineCounter() {}
void TMeterLogic::Timer_AutoGetTimer() {}
void TMeterLogic::ComTerminalChar(char) {}
const QStringList& TMeterLogic::UpdateRuleActions() { static const QStringList l; return l; }
