#pragma once
// When the banner's page is made ready ahead of a reminder. Starting the browser engine and loading a
// page takes a few seconds on a small machine; loaded out of sight shortly before the reminder, the
// page is already painted when the window slides up. Far from any reminder no engine runs.
#include "app/uTimerObj.h"
#include "platform/Types.h"

// How long before a reminder's moment the page is made ready. From its start to a painted page the
// engine took 1.5-4.5 s on 2 cores at a load of 2, and up to 30 s with the cores ten times
// oversubscribed; 20 s covers all but such extremes and keeps the engine's stay in the tray short.
constexpr double kBannerLeadSeconds = 20.0;

// True when the page for the next pop-up should be loading or held ready now: the window is not
// shown (a shown window has its page already) and the scheduler announces within the lead.
bool BannerWantedAhead(const TTimerObj& timer, TDateTime now, bool windowShown,
                       double leadSeconds = kBannerLeadSeconds);
