// A background bitmap is handed to the system only when everything the system will read lies inside
// the file: a truncated or lying file gives no bitmap instead of a read past the buffer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "win32/uDibFile.h"

namespace {
void Put32(std::string& b, size_t at, uint32_t v) {
    std::memcpy(&b[at], &v, 4);
}
void Put16(std::string& b, size_t at, uint16_t v) {
    std::memcpy(&b[at], &v, 2);
}

// A w x h bitmap file with the given bits per pixel (colour table of 2^bits entries up to 8 bits).
std::string Bmp(int32_t w, int32_t h, uint16_t bits) {
    const uint32_t table = bits <= 8 ? (1u << bits) * 4 : 0;
    const uint32_t stride = ((static_cast<uint32_t>(w < 0 ? -w : w) * bits + 31) / 32) * 4;
    const uint32_t pixels = stride * static_cast<uint32_t>(h < 0 ? -h : h);
    std::string b(14 + 40 + table + pixels, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, 14 + 40 + table);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(w));
    Put32(b, 22, static_cast<uint32_t>(h));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    return b;
}

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}
}  // namespace

TEST(DibFile, DrawsWellFormedBitmaps) {
    struct Case {
        const char* name;
        std::string bytes;
        SIZE size;
    };
    const Case cases[] = {
        {"24 bits", Bmp(3, 2, 24), {3, 2}},
        {"top-down rows", Bmp(4, -5, 24), {4, 5}},
        {"8 bits with a colour table", Bmp(7, 3, 8), {7, 3}},
        {"1 bit", Bmp(9, 9, 1), {9, 9}},
        {"32 bits", Bmp(2, 2, 32), {2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP bitmap = DibFile::Create(c.bytes);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(SizeOf(bitmap).cx, c.size.cx);
        EXPECT_EQ(SizeOf(bitmap).cy, c.size.cy);
        ::DeleteObject(bitmap);
    }
}

TEST(DibFile, RefusesWhatWouldBeReadPastTheFile) {
    struct Case {
        const char* name;
        std::function<void(std::string&)> spoil;
    };
    const Case cases[] = {
        {"empty", [](std::string& b) { b.clear(); }},
        {"not BM", [](std::string& b) { b[0] = 'P'; }},
        {"cut inside the header", [](std::string& b) { b.resize(30); }},
        {"last row missing", [](std::string& b) { b.resize(b.size() - 4); }},
        {"pixels said to start past the end",
         [](std::string& b) { Put32(b, 10, static_cast<uint32_t>(b.size())); }},
        {"header larger than the file", [](std::string& b) { Put32(b, 14, 100000); }},
        {"height claims more rows", [](std::string& b) { Put32(b, 22, 400); }},
        {"zero width", [](std::string& b) { Put32(b, 18, 0); }},
        {"unknown bit count", [](std::string& b) { Put16(b, 28, 7); }},
        {"compressed as JPEG", [](std::string& b) { Put32(b, 30, 4); }},
        {"RLE with its size past the end",
         [](std::string& b) {
             Put16(b, 28, 8);
             Put32(b, 30, 1);  // BI_RLE8
             Put32(b, 34, 1u << 20);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = Bmp(3, 2, 24);
        c.spoil(bytes);
        HBITMAP bitmap = DibFile::Create(bytes);
        EXPECT_EQ(bitmap, nullptr);
        if (bitmap) ::DeleteObject(bitmap);
    }
}

TEST(DibFile, ColourTableMustFitInTheFile) {
    std::string bytes = Bmp(2, 2, 8);
    Put32(bytes, 46, 300);  // biClrUsed: more colours than a table can hold
    EXPECT_EQ(DibFile::Create(bytes), nullptr);
    std::string small = Bmp(1, 1, 8);
    small.resize(14 + 40 + 100);  // the 256-entry table is cut off
    Put32(small, 10, 14 + 40 + 96);
    EXPECT_EQ(DibFile::Create(small), nullptr);
}
