#include "platform/Memory.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace plat {

void ReleaseIdleMemory() {
    malloc_trim(0);
    // Read-only mappings of files: the program's and the libraries' code and constants, the fonts. The
    // kernel pages out only the pages this process alone maps (shared ones stay), and a page that is
    // needed again is read back from its file. Writable mappings are left alone: their pages may hold
    // data that exists nowhere else. Kernels without MADV_PAGEOUT refuse the advice, which is harmless.
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        unsigned long long start = 0, end = 0, inode = 0;
        char perms[5] = {};
        if (std::sscanf(line.c_str(), "%llx-%llx %4s %*s %*s %llu", &start, &end, perms, &inode) != 4)
            continue;
        if (inode == 0 || perms[1] == 'w') continue;
        madvise(reinterpret_cast<void*>(static_cast<uintptr_t>(start)), static_cast<size_t>(end - start),
                MADV_PAGEOUT);
    }
}

}  // namespace plat
