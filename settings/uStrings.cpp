// The GBK forms of the program's Chinese texts, converted on first use and kept for the whole run.
#include "settings/uStrings.h"

#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/Gbk.h"

namespace Texts {

const AnsiString& Gbk(const char* utf8Literal) {
    // Keyed by the text itself: equal literals in different files share one entry. The map's nodes
    // never move, so the returned reference stays valid while more texts are added.
    static std::mutex mutex;
    static std::unordered_map<std::string, AnsiString> cache;
    const std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(utf8Literal);
    if (it == cache.end()) it = cache.emplace(utf8Literal, plat::Utf8ToGbk(utf8Literal)).first;
    return it->second;
}

}  // namespace Texts
