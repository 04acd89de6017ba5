#include "dialogs/FolderWalk.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

#include <cstdint>
#include <limits>

namespace brenvik {

void walkAndCreateFolders(FileSystem& files, const std::string& typed) {
    std::string path = typed;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    const size_t chars = utf8::length(path);
    if (chars < 3)
        throw RuntimeError(err::InvalidArgument);
    // The walk counts with a 16-bit position.
    if (chars - 3 > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
        throw RuntimeError(err::Overflow);
    // "\" never occurs inside a multi-byte character, so past the drive root the walk can go
    // byte by byte.
    const size_t skip = utf8::left(path, 3).size();
    for (size_t i = skip; i < path.size(); ++i)
        if (path[i] == '\\')
            files.makeFolder(path.substr(0, i));
}

} // namespace brenvik
