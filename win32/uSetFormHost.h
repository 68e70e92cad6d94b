#pragma once
// The settings command's dialog: shows the settings dialog modally with a copy of the reminder
// settings and the reminder list; true when it saved the settings (the caller then reloads them).
#include "settings/uControlObj.h"

class TTimerInfos;

bool ShowSetForm(TXHBX settings, TTimerInfos* list);
