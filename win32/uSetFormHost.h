#pragma once
// The settings command's dialog: shows the settings dialog modally over owner (the main window, which
// takes no input meanwhile) with a copy of the reminder settings and the reminder list; true once it
// has closed (the caller then reloads the settings from the file).
#include <windows.h>

#include "settings/uControlObj.h"

class TTimerInfos;

bool ShowSetForm(TXHBX settings, TTimerInfos* list, HWND owner);
