#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace brenvik {

class File;

// The join's block copy: one buffer, reused for every block of every source.
class AppendCopy {
public:
    AppendCopy();

    // Copies `length` bytes from the current position of `source` to the current position of
    // `target`, advancing both: length / File::BlockSize full blocks (a mebibyte, as the split
    // moves), then one last pass of length % File::BlockSize bytes (a pass of 0 bytes when the
    // length is a whole number of blocks). Lengths are 64-bit and not limited. A source that
    // ends before `length` bytes throws RuntimeError 62 (input past end of file) once its short
    // block is copied; read and write failures come through as the file's RuntimeError.
    // `checkpoint`, when given, runs before each block and may throw to stop the copy.
    void AccodaFile(File& source, File& target, int64_t length, const std::function<void()>& checkpoint = {});

private:
    // Left untouched, so taking no memory, while the host copies from file to file itself.
    std::unique_ptr<char[]> buffer_;
};

} // namespace brenvik
