// The settings file on disk, on every system: the in-memory profile rules applied to the whole file,
// with writes that replace the file in one step, one replacement per write or one per batch of writes
// (a dialog save). The system's own profile functions are not used: they rewrite the file in place,
// so a kill or a full disk in the middle of a save would cut it.
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/Errors.h"
#include "platform/FileReplace.h"
#include "platform/Profile.h"

namespace plat {

// A file being written: its replacement prepared, and its text with the writes made so far.
struct ProfileWriteBatch::Pending {
    struct File {
        FileReplacement replacement;
        std::string content;
    };
    // Keyed by the path the callers name.
    std::map<std::string, std::unique_ptr<File>> files;

    // Replaces each file; raises for the first that cannot be written (the others stay as they were).
    void CommitAll() {
        auto files = std::move(this->files);
        for (auto& [path, file] : files)
            if (!file->replacement.Commit(file->content))
                throw EIniFileException("Unable to write to " + path);
    }
};

namespace {

// The batch that writes go to, if any. Everything runs on one thread; each thread has its own.
thread_local ProfileWriteBatch::Pending* activeBatch = nullptr;

// A settings file that is there but cannot be taken reads like a missing one, as with the system's
// profile functions; the reason is said once per file in the program's log (standard error), so
// settings that seem to have reset can be explained.
void ReportUnreadOnce(const std::string& path, const std::string& why) {
    static std::set<std::string> told;
    if (told.insert(path).second)
        std::fprintf(stderr, "Chimewick: %s is not read (%s); the settings' defaults apply.\n", path.c_str(),
                     why.c_str());
}

// Prepares a write to filePath: the replacement, and the file's current text. Raises when the file
// cannot be replaced, or exists but cannot be read (writing would lose its other lines).
std::unique_ptr<ProfileWriteBatch::Pending::File> OpenForWrite(const std::string& filePath) {
    auto file = std::make_unique<ProfileWriteBatch::Pending::File>();
    if (!file->replacement.Begin(filePath)) throw EIniFileException("Unable to write to " + filePath);
    const FileReadStatus status = ReadReplaceableFile(file->replacement.Target(), file->content);
    // Only a file that is missing may be started afresh.
    if (status == FileReadStatus::Refused ||
        (status == FileReadStatus::Missing && file->replacement.Existed()))
        throw EIniFileException("Unable to write to " + filePath);
    return file;
}

}  // namespace

ProfileWriteBatch::ProfileWriteBatch() {
    if (activeBatch != nullptr) return;  // joins the batch already open
    pending_ = std::make_unique<Pending>();
    activeBatch = pending_.get();
}

ProfileWriteBatch::~ProfileWriteBatch() {
    if (!pending_ || activeBatch != pending_.get()) return;
    activeBatch = nullptr;
    try {
        pending_->CommitAll();
    } catch (const EIniFileException&) {
        // The error that ended the save is the one the user is told about.
    }
}

void ProfileWriteBatch::Commit() {
    if (!pending_ || activeBatch != pending_.get()) return;
    activeBatch = nullptr;
    pending_->CommitAll();
}

AnsiString ProfileRead(const std::string& filePath, const AnsiString& section, const AnsiString& key,
                       const AnsiString& defaultValue, std::size_t bufferSize) {
    if (activeBatch != nullptr) {
        auto it = activeBatch->files.find(filePath);
        if (it != activeBatch->files.end())
            return ProfileReadText(it->second->content, section, key, defaultValue, bufferSize);
    }
    std::string content;
    std::string why;
    if (ReadReplaceableFile(filePath, content, &why) == FileReadStatus::Refused)
        ReportUnreadOnce(filePath, why);
    return ProfileReadText(content, section, key, defaultValue, bufferSize);
}

void ProfileWrite(const std::string& filePath, const AnsiString& section, const AnsiString& key,
                  const AnsiString& value) {
    if (activeBatch != nullptr) {
        auto& file = activeBatch->files[filePath];
        if (!file) {
            try {
                file = OpenForWrite(filePath);
            } catch (...) {
                activeBatch->files.erase(filePath);
                throw;
            }
        }
        file->content = ProfileWriteText(file->content, section, key, value);
        return;
    }
    auto file = OpenForWrite(filePath);
    if (!file->replacement.Commit(ProfileWriteText(file->content, section, key, value)))
        throw EIniFileException("Unable to write to " + filePath);
}

}  // namespace plat
