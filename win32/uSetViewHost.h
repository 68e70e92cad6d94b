#pragma once
// The settings dialog's window on Windows: a hidden dialog view whose events go to dialog, owned by
// the main window's handle. (The dialog itself is the core's TSetFrm; this builds its window.)
#include <windows.h>

#include <memory>

#include "app/uSetView.h"

class TSetFrm;

std::unique_ptr<ISetView> CreateSetDialogView(TSetFrm& dialog, HWND owner);
