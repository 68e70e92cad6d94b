#pragma once
// One value of an INI ("private profile") file, read and written with the rules of the Windows
// profile functions, so a settings file behaves the same on every platform.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace plat {

// Reads section/key of the file. A missing file, section or key gives the default with its trailing
// blanks removed; the result is at most bufferSize - 1 bytes.
AnsiString ProfileRead(const std::string& filePath, const AnsiString& section, const AnsiString& key,
                       const AnsiString& defaultValue, std::size_t bufferSize = 2048);

// Writes section/key=value, creating the file (not its folder) when missing and keeping every other
// byte. The new file replaces the old one atomically. Throws EIniFileException
// ("Unable to write to <filePath>") when the file cannot be written.
void ProfileWrite(const std::string& filePath, const AnsiString& section, const AnsiString& key,
                  const AnsiString& value);

// Gathers the writes of one save so they reach the disk together. While one exists, ProfileWrite
// changes a copy of the file held in memory and ProfileRead reads that copy, so everything behaves as
// if each write had landed; Commit then replaces each written file once, atomically, and a crash
// before that leaves the old file whole. The first write to a file checks at once that it can be
// replaced (and raises as an ordinary write would). Commit raises EIniFileException when a file
// cannot be written. A batch dropped without Commit (an error ended the save) still writes what
// had been written before the error, as single writes would have done. A batch made while another
// is open joins it. The same code serves every system; the system's own profile functions are only
// the reference it is tested against.
class ProfileWriteBatch {
public:
    ProfileWriteBatch();
    ~ProfileWriteBatch();
    ProfileWriteBatch(const ProfileWriteBatch&) = delete;
    ProfileWriteBatch& operator=(const ProfileWriteBatch&) = delete;
    void Commit();

    struct Pending;

private:
    std::unique_ptr<Pending> pending_;
};

// The same rules on file contents held in memory (no I/O).
AnsiString ProfileReadText(std::string_view content, const AnsiString& section, const AnsiString& key,
                           const AnsiString& defaultValue, std::size_t bufferSize = 2048);
std::string ProfileWriteText(std::string_view content, const AnsiString& section, const AnsiString& key,
                             const AnsiString& value);

}  // namespace plat
