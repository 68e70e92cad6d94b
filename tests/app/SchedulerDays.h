#pragma once
// The days the scheduler tests run on: a Thursday (D), the day before (Prev) and the day after (Next).
#include "WarnRecorder.h"  // At
#include "settings/uSysUtils.h"

inline TDateTime D(int h, int m, int s = 0, int ms = 0) {
    return At(2024, 3, 14, h, m, s, ms);
}
inline TDateTime Prev(int h, int m, int s = 0, int ms = 0) {
    return At(2024, 3, 13, h, m, s, ms);
}
inline TDateTime Next(int h, int m, int s = 0, int ms = 0) {
    return At(2024, 3, 15, h, m, s, ms);
}
inline const TDateTime kDay = SysUtils::EncodeDate(2024, 3, 14);
