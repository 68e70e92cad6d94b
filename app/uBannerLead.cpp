#include "app/uBannerLead.h"

#include <cmath>
#include <optional>

bool BannerWantedAhead(const TTimerObj& timer, TDateTime now, bool windowShown, double leadSeconds) {
    if (windowShown) return false;
    const std::optional<TDateTime> next = timer.NextWarnAt(now);
    // In whole milliseconds, the clock's resolution: a moment exactly the lead away is within it.
    return next && std::llround((*next - now) * 86400000.0) <= std::llround(leadSeconds * 1000.0);
}
