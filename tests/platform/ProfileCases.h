#pragma once
// One table of settings-file cases: the file's bytes, one read or write, and what must come out. The
// same table checks the in-memory reader/writer, the settings file on disk and, on Windows, the
// system's own profile functions, so our writer is held to what Windows itself writes.
#include <optional>
#include <string>
#include <vector>

namespace profilecases {

enum class Op { Read, Write };

struct Case {
    const char* name;
    std::optional<std::string> file;  // the file's bytes before the call; nullopt: no file
    Op op;
    std::string section;
    std::string key;
    std::string value;     // the default (read) or the value (write)
    std::string expected;  // the text read, or the file's bytes after the write
    // Why Wine's profile functions give something else than Windows here; nullptr when they agree.
    const char* wineDiffers = nullptr;
};

const std::vector<Case>& All();

}  // namespace profilecases
