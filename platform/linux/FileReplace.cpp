// The Linux replacement: a temporary file renamed over the old one (platform/linux/AtomicWrite).
#include "platform/FileReplace.h"

#include "platform/linux/AtomicWrite.h"

namespace plat {

struct FileReplacement::Impl {
    linux_fs::AtomicReplacement replacement;
};

FileReplacement::FileReplacement() : impl_(std::make_unique<Impl>()) {}
FileReplacement::~FileReplacement() = default;

bool FileReplacement::Begin(const std::string& path) {
    return impl_->replacement.Begin(path);
}

const std::string& FileReplacement::Target() const {
    return impl_->replacement.Target();
}

bool FileReplacement::Existed() const {
    return impl_->replacement.Existed();
}

bool FileReplacement::Commit(std::string_view bytes) {
    return impl_->replacement.Commit(bytes);
}

FileReadStatus ReadReplaceableFile(const std::string& path, std::string& out, std::string* why) {
    switch (linux_fs::ReadFileStatus(path, out, why)) {
        case linux_fs::ReadStatus::Read:
            return FileReadStatus::Read;
        case linux_fs::ReadStatus::Missing:
            return FileReadStatus::Missing;
        case linux_fs::ReadStatus::Refused:
            break;
    }
    return FileReadStatus::Refused;
}

}  // namespace plat
