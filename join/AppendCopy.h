#pragma once

#include <cstdint>
#include <vector>

namespace brenvik {

class File;

// The join's block copy: one buffer, reused for every block of every source.
class AppendCopy {
public:
    static constexpr int64_t BlockSize = 8192;

    AppendCopy();

    // Copies `length` bytes from the current position of `source` to the current position of
    // `target`, advancing both: length / BlockSize full blocks, then one last pass of
    // length % BlockSize bytes (a pass of 0 bytes when the length is a whole number of blocks).
    // Lengths are 64-bit and not limited. A source that ends before `length` bytes throws
    // RuntimeError 62 (input past end of file) before the short block is written; read and write
    // failures come through as the file's RuntimeError.
    void AccodaFile(File& source, File& target, int64_t length);

private:
    std::vector<char> buffer_;
};

} // namespace brenvik
