#include "join/Joiner.h"

#include "platform/RuntimeError.h"
#include "platform/WinPath.h"

namespace brenvik {

void Joiner::open() {
    output_ = files_.createNew(request_.output);
}

void Joiner::write(const std::function<void()>& waiting, const std::function<void()>& checkpoint) {
    for (const JoinSource& chosen : request_.sources) {
        std::unique_ptr<File> source = files_.openRead(chosen.path);
        if (source->stamp() != chosen.listed)
            throw SourcesChanged{};
        copier_.AccodaFile(*source, output_->file(), source->length(), checkpoint);
        source->close();
    }
    // "File Creato" must mean the bytes are on the disk, not in a cache a power cut would lose.
    output_->flush();
    // Each source as it was when opened is not enough: one written to while it was copied holds
    // bytes of before and after.
    for (const JoinSource& chosen : request_.sources)
        if (files_.stampOf(chosen.path) != chosen.listed)
            throw SourcesChanged{};
    const std::string folder = winpath::folderOf(request_.output);
    {
        // A split naming its parts in the same folder meanwhile waits, and so does this.
        const std::unique_ptr<FolderLock> lock = files_.lockFolder(folder, waiting);
        output_->commit(request_.replacing ? Existing::Replace : Existing::Keep);
    }
    output_.reset();
    files_.syncFolder(folder);
}

} // namespace brenvik
