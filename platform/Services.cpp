// The replaceable services of the platform layer: which clock, locale facts, start-at-login store,
// box hook, executable path and log are in use. The per-OS files supply the real ones.
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/AnsiBytes.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ExePath.h"
#include "platform/Locale.h"
#include "platform/Log.h"
#include "platform/Registry.h"

namespace plat {

std::unique_ptr<Clock> CreateSystemClock();                                              // per-OS
std::string SystemExecutablePath();                                                      // per-OS
int SystemMessageBox(const AnsiString& text, const AnsiString& caption, TBoxKind kind);  // per-OS

namespace {
const Clock* g_clock = nullptr;
std::optional<FormatSettings> g_formatSettings;
Registry* g_registry = nullptr;
MessageBoxHook g_messageBoxHook;
std::string g_exeOverride;
std::function<void(const std::string&)> g_logSink;

const Clock& SystemClockInstance() {
    static const std::unique_ptr<Clock> clock = CreateSystemClock();
    return *clock;
}

Registry& SystemRegistryInstance() {
    static const std::unique_ptr<Registry> registry = CreateSystemRegistry();
    return *registry;
}
}  // namespace

const Clock& CurrentClock() {
    return g_clock ? *g_clock : SystemClockInstance();
}
void SetClock(const Clock* clock) {
    g_clock = clock;
}

const FormatSettings& CurrentFormatSettings() {
    if (!g_formatSettings) g_formatSettings = SystemFormatSettings();
    return *g_formatSettings;
}
void SetFormatSettings(const FormatSettings& settings) {
    g_formatSettings = settings;
}

Registry& CurrentRegistry() {
    return g_registry ? *g_registry : SystemRegistryInstance();
}
void SetRegistry(Registry* registry) {
    g_registry = registry;
}

void SetMessageBoxHook(MessageBoxHook hook) {
    g_messageBoxHook = std::move(hook);
}
AnsiString BreakLongRuns(const AnsiString& text) {
    AnsiString broken;
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = GbkCharLen(std::string_view(text).substr(i));
        if (static_cast<unsigned char>(text[i]) <= ' ') {
            run = 0;
        } else if (run++ == kBoxRunChars) {
            broken += '\n';
            run = 1;
        }
        broken.append(text, i, len);
        i += len;
    }
    return broken;
}

int ShowMessageBox(const AnsiString& text, const AnsiString& caption, TBoxKind kind) {
    const AnsiString shown = BreakLongRuns(text);
    return g_messageBoxHook ? g_messageBoxHook(shown, caption, kind) : SystemMessageBox(shown, caption, kind);
}

std::string ExecutablePath() {
    return g_exeOverride.empty() ? SystemExecutablePath() : g_exeOverride;
}
void SetExecutablePathOverride(const std::string& path) {
    g_exeOverride = path;
}

void LogLine(const std::string& line) {
    if (g_logSink) {
        g_logSink(line);
        return;
    }
    std::fprintf(stderr, "chimewick: %s\n", line.c_str());
    std::fflush(stderr);
}
void SetLogSink(std::function<void(const std::string&)> sink) {
    g_logSink = std::move(sink);
}

}  // namespace plat
