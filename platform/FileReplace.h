#pragma once
// Reading a small file safely and replacing it in one step, on every system.
//
// Reading takes only regular files of a sensible size and never blocks: a folder, a FIFO or a device
// standing where the file should be is refused (and reads like a missing file to its callers).
//
// Replacing never leaves a half-written file: the new bytes go to a temporary file in the same folder,
// are flushed to disk, and the temporary file then takes the old one's place in one step. A crash, a
// kill, a full disk or a write error leaves the old file as it was. A file nobody may write (the
// read-only attribute, or no write bit) is never replaced, also where this process could.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace plat {

// Settings and autostart files are a few kilobytes; anything far larger is not one of ours, and
// reading it for every value would freeze the program.
inline constexpr std::size_t kMaxReplaceableFileBytes = 1024 * 1024;

enum class FileReadStatus {
    Read,     // the whole file is in out
    Missing,  // nothing by that name
    Refused,  // something is there but it is not a readable regular file of at most the size above
};

// Reads a whole regular file of at most kMaxReplaceableFileBytes; why it is refused goes to *why.
FileReadStatus ReadReplaceableFile(const std::string& path, std::string& out, std::string* why = nullptr);

// Whether entry is a temporary file name that a replacement makes for the file named base:
// "." base "." eight hex digits ".tmp". Such files left behind by a writer that was killed are
// removed by the next replacement in that folder.
inline bool IsTempNameFor(std::string_view entry, std::string_view base) {
    const std::size_t hexAt = base.size() + 2;
    if (entry.size() != hexAt + 8 + 4 || entry[0] != '.' || entry.substr(1, base.size()) != base ||
        entry[hexAt - 1] != '.' || entry.substr(hexAt + 8) != ".tmp")
        return false;
    for (char c : entry.substr(hexAt, 8))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// One replacement in two steps: Begin prepares the temporary file (and so finds out early whether the
// file can be replaced at all); Commit fills it, flushes it and puts it in the file's place. Dropped
// without a Commit, it removes its temporary file and the file stays as it was.
class FileReplacement {
public:
    FileReplacement();
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // False, with nothing changed, when path names something other than a regular file, a file that
    // may not be written, or a folder where no temporary file can be made.
    bool Begin(const std::string& path);
    // The file that will be replaced (on Linux with its symbolic links followed); valid after Begin.
    const std::string& Target() const;
    // Whether the file existed when Begin ran.
    bool Existed() const;
    // Writes bytes and puts them in the file's place. False on any failure, in which case the file is
    // as it was. Bytes beyond kMaxReplaceableFileBytes are refused: they could not be read back.
    bool Commit(std::string_view bytes);

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace plat
