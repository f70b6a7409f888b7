#pragma once
// Makes ShowSetupDialog() of every port and terminal open the setup dialogs
// of this library. The program calls it once at start; until then
// ShowSetupDialog() does nothing.
void InstallSerialDialogs();
