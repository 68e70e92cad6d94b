#pragma once
// One value of an INI ("private profile") file, read and written with the rules of the Windows
// profile functions, so a settings file behaves the same on every platform.
#include <cstddef>
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

// The same rules on file contents held in memory (no I/O).
AnsiString ProfileReadText(std::string_view content, const AnsiString& section, const AnsiString& key,
                           const AnsiString& defaultValue, std::size_t bufferSize = 2048);
std::string ProfileWriteText(std::string_view content, const AnsiString& section, const AnsiString& key,
                             const AnsiString& value);

}  // namespace plat
