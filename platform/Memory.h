#pragma once
// Memory the program can give back while it waits in the tray.
namespace plat {

// Gives back what the process holds but does not need while its windows are hidden: free heap pages,
// and the pages of files (code, fonts) that no other process maps, which are read in again when next
// used. Nothing is lost; the next pop-up pays a few page reads.
void ReleaseIdleMemory();

}  // namespace plat
