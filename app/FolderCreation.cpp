#include "app/FolderCreation.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

#include <cstdint>
#include <limits>

namespace brenvik {

void createFolderLevels(FileSystem& files, const std::string& dir, LevelFailure onFailure) {
    std::string path = dir;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    const auto refuse = [onFailure](int number) {
        if (onFailure == LevelFailure::Stop)
            throw RuntimeError(number);
    };
    const size_t chars = utf8::length(path);
    if (chars < 3)
        return refuse(err::InvalidArgument);
    if (chars - 3 > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
        return refuse(err::Overflow);
    // "\" never occurs inside a multi-byte character, so past the drive root the walk can go
    // byte by byte.
    for (size_t i = utf8::left(path, 3).size(); i < path.size(); ++i) {
        if (path[i] != '\\')
            continue;
        try {
            files.makeFolder(path.substr(0, i));
        } catch (const RuntimeError&) {
            if (onFailure == LevelFailure::Stop)
                throw;
        }
    }
}

void FareCartelle(FileSystem& files, std::string& dir) {
    if (dir.empty() || dir.back() != '\\')
        dir += '\\';
    createFolderLevels(files, dir, LevelFailure::PassOver);
}

} // namespace brenvik
