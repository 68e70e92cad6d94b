// GBK (Windows code page 936) <-> UTF-8 through glibc's iconv. glibc's CP936 is its GBK table, which
// like Windows maps 0x80 to the euro sign. Bytes that cannot be converted are replaced one by one,
// so a conversion never fails and never reads outside its input.
#include "platform/Gbk.h"

#include <iconv.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "platform/AnsiBytes.h"
#include "platform/Utf8.h"

namespace plat {
namespace {

constexpr const char* kGbkName = "CP936";

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as possible into out. Returns the bytes consumed; stops at the first
    // byte sequence that cannot be converted (or that is cut off at the end).
    std::size_t Convert(std::string_view in, std::string& out) {
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
        char* src = const_cast<char*>(in.data());          // iconv does not write to its input
        std::size_t srcLeft = in.size();
        char buf[4096];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            std::size_t r = ::iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, sizeof buf - dstLeft);
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) break;
        }
        return in.size() - srcLeft;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    thread_local Converter conv("UTF-8", kGbkName);
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    while (!gbk.empty()) {
        std::size_t done = conv.ok() ? conv.Convert(gbk, out) : 0;
        gbk.remove_prefix(done);
        if (gbk.empty()) break;
        if (!conv.ok() && static_cast<unsigned char>(gbk[0]) < 0x80) {
            out.push_back(gbk[0]);  // without iconv, ASCII still passes through
            gbk.remove_prefix(1);
            continue;
        }
        // A double-byte code without a character is one unknown character; a lead byte without a
        // valid trail byte (or at the end) is one unknown byte.
        std::size_t bad = GbkCharLen(gbk);
        out.append(kReplacementUtf8);
        gbk.remove_prefix(bad);
    }
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
    thread_local Converter conv(kGbkName, "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        std::size_t done = conv.ok() ? conv.Convert(utf8, out) : 0;
        utf8.remove_prefix(done);
        if (utf8.empty()) break;
        if (!conv.ok() && static_cast<unsigned char>(utf8[0]) < 0x80) {
            out.push_back(utf8[0]);
            utf8.remove_prefix(1);
            continue;
        }
        // A character GBK lacks becomes one '?'; so does each byte of malformed UTF-8.
        std::size_t len = Utf8CharLen(utf8);
        out.push_back('?');
        utf8.remove_prefix(len == 0 ? 1 : len);
    }
    return out;
}

}  // namespace plat
