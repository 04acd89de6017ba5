#include "join/AppendCopy.h"

#include "platform/Files.h"
#include "platform/RuntimeError.h"

namespace brenvik {

AppendCopy::AppendCopy() : buffer_(new char[static_cast<size_t>(File::BlockSize)]) {}

void AppendCopy::AccodaFile(File& source, File& target, int64_t length, const std::function<void()>& checkpoint) {
    if (length < 0)
        throw RuntimeError(err::InvalidArgument);
    const int64_t blocks = length / File::BlockSize + 1;
    const auto lastBlock = static_cast<size_t>(length % File::BlockSize);
    auto size = static_cast<size_t>(File::BlockSize);
    for (int64_t block = 1; block <= blocks; ++block) {
        if (checkpoint)
            checkpoint();
        if (block == blocks)
            size = lastBlock;
        // A source that shrank since it was measured must not pass for a complete copy.
        if (target.copyFrom(source, buffer_.get(), size) != size)
            throw RuntimeError(err::InputPastEnd);
    }
}

} // namespace brenvik
