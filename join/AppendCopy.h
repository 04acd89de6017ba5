#pragma once

#include <cstdint>
#include <memory>

namespace brenvik {

class File;

// The join's block copy: one buffer, reused for every block of every source.
class AppendCopy {
public:
    // A mebibyte, as the split moves: small blocks cost a system call each, and a join of a
    // thousand parts would spend more time in calls than in copying.
    static constexpr int64_t BlockSize = 1048576;

    AppendCopy();

    // Copies `length` bytes from the current position of `source` to the current position of
    // `target`, advancing both: length / BlockSize full blocks, then one last pass of
    // length % BlockSize bytes (a pass of 0 bytes when the length is a whole number of blocks).
    // Lengths are 64-bit and not limited. A source that ends before `length` bytes throws
    // RuntimeError 62 (input past end of file) once its short block is copied; read and write
    // failures come through as the file's RuntimeError.
    void AccodaFile(File& source, File& target, int64_t length);

private:
    // Left untouched, so taking no memory, while the host copies from file to file itself.
    std::unique_ptr<char[]> buffer_;
};

} // namespace brenvik
