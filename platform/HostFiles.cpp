// What a save file does alike on every host; each host's own steps are in posix/ and windows/.
#include "platform/HostFiles.h"

#include "platform/RuntimeError.h"

#include <random>

namespace brenvik {

SaveFile::SaveFile(std::string target, Options options) : target_(std::move(target)), flushes_(options.flushes) {
    create(options);
}

SaveFile::~SaveFile() {
    if (!committed_)
        discard();
}

std::string SaveFile::temporaryName() {
    // A fresh engine each time: temporaries are made a few at a time, and two programs started in
    // the same instant must not draw the same tokens.
    std::random_device entropy;
    const uint64_t token = (static_cast<uint64_t>(entropy()) << 32) ^ entropy();
    static constexpr char Hex[] = "0123456789abcdef";
    std::string name = "~brenvik-";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += Hex[(token >> shift) & 0xf];
    return name + ".$$$";
}

File& SaveFile::file() {
    throwIfFailed();
    if (!file_)
        throw RuntimeError(err::BadFileMode); // released or committed: nothing more is written
    return *file_;
}

void SaveFile::throwIfFailed() const {
    if (failed_)
        throw RuntimeError(failed_);
}

void SaveFile::flush() {
    throwIfFailed();
    if (flushed_ || !file_)
        return;
    if (flushes_) {
        try {
            flushHandle();
        } catch (const RuntimeError& e) {
            failed_ = e.number();
            throw;
        }
    }
    flushed_ = true;
}

void SaveFile::commit(Existing existing) {
    if (committed_)
        return;
    flush();
    giveName(existing);
    committed_ = true;
}

void SaveFile::withdraw() {
    if (!committed_)
        return;
    takeNameBack();
    committed_ = false;
    discard();
}

} // namespace brenvik
