#include "app/FolderCreation.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

#include <limits>

namespace brenvik {

void FareCartelle(FileSystem& files, std::string& dir) {
    if (dir.empty() || dir.back() != '\\')
        dir += '\\';
    if (utf8::length(dir) < 3)
        return;
    // "\" never occurs inside a multi-byte character, so the walk can go byte by byte once the
    // three characters of the drive root are skipped.
    const size_t skip = utf8::left(dir, 3).size();
    const size_t tail = dir.size() - skip;
    if (tail > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
        return;
    for (size_t i = 0; i < tail; ++i) {
        if (dir[skip + i] != '\\')
            continue;
        try {
            files.makeFolder(dir.substr(0, skip + i));
        } catch (const RuntimeError&) {
            // Mostly the level exists already; a level that cannot be made shows when the
            // caller writes into it.
        }
    }
}

} // namespace brenvik
