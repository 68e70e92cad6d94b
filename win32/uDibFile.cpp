#include "win32/uDibFile.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace DibFile {
namespace {
template <typename T>
bool ReadAt(const std::string& bytes, size_t offset, T& value) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return true;
}
}  // namespace

HBITMAP Create(const std::string& bytes) {
    BITMAPFILEHEADER file{};
    if (!ReadAt(bytes, 0, file) || file.bfType != 0x4D42) return nullptr;  // "BM"
    DWORD headerSize = 0;
    if (!ReadAt(bytes, sizeof file, headerSize)) return nullptr;
    const size_t infoAt = sizeof file;
    const size_t bitsAt = file.bfOffBits;
    if (headerSize < sizeof(BITMAPCOREHEADER) || headerSize > bytes.size() - infoAt || bitsAt <= infoAt ||
        bitsAt >= bytes.size())
        return nullptr;

    // The system reads the pixels through the header: they must lie inside the file, or it would read
    // past the end of the buffer.
    int64_t width = 0, height = 0;
    int bitCount = 0;
    DWORD compression = BI_RGB, sizeImage = 0, colorsUsed = 0;
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        BITMAPCOREHEADER core{};
        ReadAt(bytes, infoAt, core);
        width = core.bcWidth;
        height = core.bcHeight;
        bitCount = core.bcBitCount;
    } else if (headerSize >= sizeof(BITMAPINFOHEADER)) {
        BITMAPINFOHEADER info{};
        ReadAt(bytes, infoAt, info);
        width = info.biWidth;
        height = info.biHeight < 0 ? -static_cast<int64_t>(info.biHeight) : info.biHeight;
        bitCount = info.biBitCount;
        compression = info.biCompression;
        sizeImage = info.biSizeImage;
        colorsUsed = info.biClrUsed;
    } else {
        return nullptr;
    }
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) return nullptr;
    const size_t available = bytes.size() - bitsAt;
    if (compression == BI_RGB || compression == BI_BITFIELDS) {
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
            bitCount != 32)
            return nullptr;
        const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
        if (stride * static_cast<uint64_t>(height) > available) return nullptr;
    } else if (compression == BI_RLE8 || compression == BI_RLE4) {
        if (sizeImage == 0 || sizeImage > available) return nullptr;
    } else {
        return nullptr;  // JPEG or PNG inside a bitmap file: not drawn
    }

    // The colour table (or the masks of a 16/32-bit bitmap) follows the header.
    const bool core = headerSize == sizeof(BITMAPCOREHEADER);
    uint64_t tableBytes = 0;
    if (bitCount <= 8) {
        const uint64_t colors = colorsUsed ? colorsUsed : (1u << bitCount);
        if (colors > 256) return nullptr;
        tableBytes = colors * (core ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD));
    } else if (compression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER)) {
        tableBytes = 3 * sizeof(DWORD);
    }
    if (headerSize + tableBytes > bytes.size() - infoAt) return nullptr;

    // Header and table copied to aligned memory (in the file they start at an odd offset).
    std::vector<DWORD> header((headerSize + tableBytes + sizeof(DWORD) - 1) / sizeof(DWORD));
    std::memcpy(header.data(), bytes.data() + infoAt, headerSize + tableBytes);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(header.data());
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap =
        ::CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bytes.data() + bitsAt, info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace DibFile
