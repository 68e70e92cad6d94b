#pragma once
// A folder for the files that tie running copies of the program together (the one-copy lock and the
// socket a later start talks to). Only this user may enter it: whoever can put files there can keep
// the program from starting, or answer in its place. Socket peers are checked the same way.
#include <string>

namespace plat::linux_fs {

// Whether dir is a real folder (not a link) owned by this user that nobody else may enter or change
// (no group or other permission bits). When not, *why says what is wrong.
bool IsPrivateDir(const std::string& dir, std::string* why = nullptr);

// The folder to use: preferred when given (it must be private); else $XDG_RUNTIME_DIR when private;
// else "chimewick-<uid>" in $TMPDIR (or /tmp), then "chimewick" in $XDG_CACHE_HOME (or ~/.cache),
// each made with mode 0700 when missing and taken only when private. Empty when none will do;
// *why then says why each was passed over.
std::string PrivateRuntimeDir(const std::string& preferred = std::string(), std::string* why = nullptr);

// Whether the process at the other end of a connected local socket runs as this user.
bool PeerIsThisUser(int socketFd);

}  // namespace plat::linux_fs
