#include "app/FolderCreation.h"

#include "platform/Files.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

#include <cstdint>
#include <limits>

namespace brenvik {

int createFolderLevels(Files& files, const std::string& dir, LevelFailure onFailure) {
    std::string path = dir;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    const auto refuse = [onFailure](int number) {
        if (onFailure == LevelFailure::Stop)
            throw RuntimeError(number);
        return 0;
    };
    const size_t chars = utf8::length(path);
    if (chars < 3)
        return refuse(err::InvalidArgument);
    if (chars - 3 > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
        return refuse(err::Overflow);
    int firstFailure = 0;
    // "\" never occurs inside a multi-byte character, so past the drive root the walk can go
    // byte by byte.
    for (size_t i = utf8::left(path, 3).size(); i < path.size(); ++i) {
        if (path[i] != '\\')
            continue;
        const std::string level = path.substr(0, i);
        try {
            files.makeFolder(level);
        } catch (const RuntimeError& e) {
            if (onFailure == LevelFailure::Stop)
                throw;
            if (firstFailure == 0 && !files.isFolder(level))
                firstFailure = e.number();
        }
    }
    return firstFailure;
}

int causeOf(int failure, int levelFailure) {
    return failure == err::PathNotFound && levelFailure != 0 ? levelFailure : failure;
}

int FareCartelle(Files& files, std::string& dir) {
    if (dir.empty() || dir.back() != '\\')
        dir += '\\';
    return createFolderLevels(files, dir, LevelFailure::PassOver);
}

} // namespace brenvik
