#pragma once
// Reading and replacing a small file safely.
//
// Reading takes only regular files of a sensible size, and never blocks: a FIFO, a device or a socket
// standing where the file should be is refused without being opened for longer than a look.
//
// Replacing is atomic: the new bytes go to a temporary file in the same folder, are flushed to disk,
// and the temporary file is renamed over the old one. A crash, a full disk or a write error never
// leaves a half-written file; the old file stays as it was. The new file keeps the old one's owner
// and group where this process may set them, and its mode never grants anyone more than the old one
// did. A file nobody may write (no write bit, or none for this user) is left alone.
//
// A writer that is killed leaves its temporary file behind. Each writer holds an exclusive lock on its
// temporary file until it has been renamed or removed, so the next writer can tell such leftovers
// (lockable: their owner is gone) from files another writer is still filling, and removes them.
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileReplace.h"

namespace plat::linux_fs {

inline constexpr std::size_t kMaxFileBytes = kMaxReplaceableFileBytes;

enum class ReadStatus {
    Read,     // the whole file is in out
    Missing,  // nothing by that name (a link whose target is missing counts as missing)
    Refused,  // something is there but it is not a readable regular file of at most kMaxFileBytes
};

// Reads a whole regular file of at most kMaxFileBytes; why it is refused goes to *why when given.
ReadStatus ReadFileStatus(const std::string& path, std::string& out, std::string* why = nullptr);

// Reads a whole regular file. False when it is missing, refused or cannot be read.
inline bool ReadWholeFile(const std::string& path, std::string& out) {
    return ReadFileStatus(path, out) == ReadStatus::Read;
}

// Where a write to path lands: symbolic links are followed (also one whose target does not exist
// yet, whose target is then created), so a linked settings file stays linked. Empty when the links
// loop or cannot be read.
std::string ResolveLinks(const std::string& path);

using plat::IsTempNameFor;

// One atomic replacement in two steps: Begin prepares the temporary file (and so finds out early
// whether the file can be replaced at all); Commit fills it and renames it over the file. Dropped
// without a Commit, it removes its temporary file and the file stays as it was.
class AtomicReplacement {
public:
    AtomicReplacement() = default;
    ~AtomicReplacement();
    AtomicReplacement(const AtomicReplacement&) = delete;
    AtomicReplacement& operator=(const AtomicReplacement&) = delete;

    // Prepares the replacement of path (links followed). False, with nothing changed, when path
    // names something other than a regular file, a file this user may not write, or a folder where
    // no temporary file can be made.
    bool Begin(const std::string& path);
    // The file that will be replaced (path with its links followed); valid after Begin.
    const std::string& Target() const { return target_; }
    // Whether the file existed when Begin ran.
    bool Existed() const { return existed_; }
    // Writes bytes and renames them over the file. False on any failure, in which case the file is
    // as it was. Bytes beyond kMaxFileBytes are refused: they could not be read back.
    bool Commit(std::string_view bytes);

private:
    void Abandon();

    std::string target_;
    std::string dir_;
    std::string tmp_;
    int fd_ = -1;
    bool existed_ = false;
};

// Replaces (or creates) path with bytes in one step. False on any failure, in which case nothing
// has changed.
bool AtomicReplaceFile(const std::string& path, std::string_view bytes);

// The mode a replacement gets. The old file's owner and group apply to the new one only where they
// could be kept; where the new file belongs to another user or group, that one gets no more than it
// had before through the class that applied to it (for the owner, the class this process wrote
// through; for a group, what everyone else had). Special bits stay only when both were kept.
mode_t ReplacementMode(mode_t oldMode, bool ownerKept, bool groupKept, bool writerWasInGroup);

}  // namespace plat::linux_fs
