#pragma once
// Basic value types shared by the whole program.
#include <cstdint>
#include <string>

// User text exactly as the settings file holds it: GBK bytes. Comparisons, cuts and the text codec
// work on single bytes, so this stays a byte string and is converted only at the widget boundary.
using AnsiString = std::string;

// Days since 1899-12-30 00:00; the fraction is the time of day (12:00 is 0.5).
using TDateTime = double;
