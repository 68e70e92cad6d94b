#pragma once
// The window message a later start posts to the running copy's main window to bring it up.

namespace plat::win {

// Registered once per session under one name, so every copy of the program agrees on its number.
unsigned ShowRequestMessage();

}  // namespace plat::win
