#include "app/uBannerLead.h"

#include <optional>

bool BannerWantedAhead(const TTimerObj& timer, TDateTime now, bool windowShown, double leadSeconds) {
    if (windowShown) return false;
    const std::optional<TDateTime> next = timer.NextWarnAt(now);
    return next && (*next - now) * 24 * 60 * 60 <= leadSeconds;
}
