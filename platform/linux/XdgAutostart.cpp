// Start-at-login entries on Linux. The Run key is the user's XDG autostart folder and each value is
// a desktop entry there: the value "N" is the file N.desktop, its data the program that Exec starts.
// No other key exists. The folder is looked up on every call, so a changed XDG_CONFIG_HOME counts.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Gbk.h"
#include "platform/Log.h"
#include "platform/Registry.h"
#include "platform/linux/AtomicWrite.h"

namespace plat {
namespace {

namespace fs = std::filesystem;

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool IsRunKey(const AnsiString& keyPath) {
    return EqualsIgnoreAsciiCase(keyPath, RunKeyPath);
}

std::optional<fs::path> AutostartDir() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return fs::path(xdg) / "autostart";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') {
        home = pw->pw_dir;
    } else {
        return std::nullopt;
    }
    return fs::path(home) / ".config" / "autostart";
}

// The desktop file of a value. Names that would leave the folder have no file.
std::optional<fs::path> EntryFile(const AnsiString& name) {
    std::string fileName = GbkToUtf8(name);
    if (fileName.empty() || fileName == "." || fileName == ".." ||
        fileName.find_first_of(std::string_view("/\0", 2)) != std::string::npos)
        return std::nullopt;
    auto dir = AutostartDir();
    if (!dir) return std::nullopt;
    return *dir / (fileName + ".desktop");
}

// ---- Desktop Entry text ----------------------------------------------------------------------

// Undoes the escapes of a string value: \s \n \t \r \\ (other backslashes stay as they are).
std::string UnescapeValue(std::string_view v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            out.push_back(v[i]);
            continue;
        }
        char c = v[++i];
        switch (c) {
            case 's':
                out.push_back(' ');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case '\\':
                out.push_back('\\');
                break;
            default:
                out.push_back('\\');
                out.push_back(c);
                break;
        }
    }
    return out;
}

std::string EscapeValue(std::string_view v) {
    std::string out;
    for (char c : v) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out.push_back(c);
                break;
        }
    }
    return out;
}

// One program path as a quoted Exec argument: inside double quotes, " ` $ and \ take a backslash,
// and % is doubled so it is no field code.
std::string QuoteExecArg(std::string_view path) {
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out.push_back('\\');
        if (c == '%') out.push_back('%');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

// Splits an (unescaped) Exec value into its arguments. Empty when it is malformed.
std::optional<std::vector<std::string>> SplitExec(std::string_view exec) {
    std::vector<std::string> args;
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
    while (true) {
        while (i < exec.size() && isSpace(exec[i])) ++i;
        if (i == exec.size()) break;
        std::string arg;
        if (exec[i] == '"') {
            ++i;
            bool closed = false;
            while (i < exec.size()) {
                char c = exec[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < exec.size() &&
                    std::string_view("\"`$\\").find(exec[i]) != std::string_view::npos)
                    c = exec[i++];
                arg.push_back(c);
            }
            if (!closed || (i < exec.size() && !isSpace(exec[i]))) return std::nullopt;
        } else {
            while (i < exec.size() && !isSpace(exec[i])) arg.push_back(exec[i++]);
        }
        args.push_back(std::move(arg));
    }
    return args;
}

// Expands "%%" to "%"; any other field code means the argument is no plain path.
std::optional<std::string> WithoutFieldCodes(std::string_view arg) {
    std::string out;
    for (std::size_t i = 0; i < arg.size(); ++i) {
        if (arg[i] != '%') {
            out.push_back(arg[i]);
            continue;
        }
        if (i + 1 < arg.size() && arg[i + 1] == '%') {
            out.push_back('%');
            ++i;
            continue;
        }
        return std::nullopt;
    }
    return out;
}

struct DesktopEntry {
    std::optional<std::string> exec;  // raw text after "Exec="
    bool hidden = false;
    bool disabled = false;
};

DesktopEntry ParseDesktopEntry(std::string_view text) {
    DesktopEntry entry;
    bool inMainGroup = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::string_view line =
            text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup) continue;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = line.substr(0, eq);
        while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
        std::string_view value = line.substr(eq + 1);
        while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
        if (key == "Exec" && !entry.exec)
            entry.exec = std::string(value);
        else if (key == "Hidden")
            entry.hidden = value == "true";
        else if (key == "X-GNOME-Autostart-enabled")
            entry.disabled = value == "false";
    }
    return entry;
}

// The program an Exec value starts, when it is one argument; otherwise the value as it stands.
std::string ProgramOf(const std::string& rawExec) {
    auto args = SplitExec(UnescapeValue(rawExec));
    if (args && args->size() == 1) {
        if (auto plain = WithoutFieldCodes(args->front())) return *plain;
    }
    return rawExec;
}

// The CMake build tree that holds the program (a folder with CMakeCache.txt, the program's own or
// one above it); none for an installed program.
std::optional<fs::path> BuildTreeOf(const std::string& program) {
    std::error_code ec;
    for (fs::path dir = fs::path(program).parent_path(); !dir.empty(); dir = dir.parent_path()) {
        if (fs::is_regular_file(dir / "CMakeCache.txt", ec)) return dir;
        if (dir == dir.root_path()) break;
    }
    return std::nullopt;
}

// An entry that starts a program in a build tree stops working with the tree (make clean): say so.
void TellOfBuildTree(const fs::path& entry, const std::string& program) {
    const auto tree = BuildTreeOf(program);
    if (!tree) return;
    LogLine("the start-at-login entry " + entry.string() + " starts " + program +
            ", which lies in the build tree " + tree->string() +
            "; it stops working once that tree is removed (make clean). To start an installed " +
            "copy at login instead, run make install and tick 系统设置 > 开机启动 in that copy.");
}

// ---- the store -------------------------------------------------------------------------------

// How an entry shows in a desktop's list of programs started at login: as the program, with the name
// and icon of its menu entry (the file name is the value's name, which the settings rely on).
constexpr const char* kEntryLooks = "Name=Chimewick\nName[zh_CN]=定时提醒\nIcon=chimewick\n";

class XdgAutostart : public Registry {
public:
    bool OpenKey(RegRoot, const AnsiString& keyPath, bool create) override {
        if (!IsRunKey(keyPath)) return false;
        auto dir = AutostartDir();
        if (!dir) return false;
        std::error_code ec;
        if (create) fs::create_directories(*dir, ec);
        return fs::is_directory(*dir, ec);
    }

    RegistryValue ReadValue(RegRoot, const AnsiString& keyPath, const AnsiString& name) override {
        RegistryValue result;
        if (!IsRunKey(keyPath)) return result;
        auto file = EntryFile(name);
        std::string text;
        if (!file || !linux_fs::ReadWholeFile(file->string(), text)) return result;
        DesktopEntry entry = ParseDesktopEntry(text);
        if (entry.hidden || entry.disabled) return result;
        result.Found = true;
        result.IsString = true;
        result.Data = entry.exec ? ProgramOf(*entry.exec) : AnsiString();
        return result;
    }

    bool WriteString(RegRoot, const AnsiString& keyPath, const AnsiString& name,
                     const AnsiString& data) override {
        if (!IsRunKey(keyPath)) return false;
        auto file = EntryFile(name);
        if (!file) return false;
        std::error_code ec;
        fs::create_directories(file->parent_path(), ec);
        std::string text = std::string("[Desktop Entry]\nType=Application\n") + kEntryLooks +
                           "Exec=" + EscapeValue(QuoteExecArg(data)) + "\nX-GNOME-Autostart-enabled=true\n";
        if (!linux_fs::AtomicReplaceFile(file->string(), text)) return false;
        TellOfBuildTree(*file, data);
        return true;
    }

    void DeleteValue(RegRoot, const AnsiString& keyPath, const AnsiString& name) override {
        if (!IsRunKey(keyPath)) return;
        if (auto file = EntryFile(name)) ::unlink(file->c_str());
    }
};

}  // namespace

std::unique_ptr<Registry> CreateSystemRegistry() {
    return std::make_unique<XdgAutostart>();
}

}  // namespace plat
