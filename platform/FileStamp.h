#pragma once

#include <cstdint>

namespace brenvik {

// What tells a file from another, or from itself once changed: its size, its time of writing and,
// where the disk keeps one, its number. Two readings of one file compare equal until it changes.
struct FileStamp {
    uint64_t size = 0;
    uint64_t written = 0;
    uint64_t number = 0;
    bool operator==(const FileStamp&) const = default;
};

} // namespace brenvik
