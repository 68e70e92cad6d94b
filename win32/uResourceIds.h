#pragma once
// Numbers of the resources in chimewick.rc (shared by the resource script and the code).
#define IDI_MAINICON 1
#define IDB_SETTINGS 101
#define IDB_MINIMISE 102
#define IDB_CLOSE 103
