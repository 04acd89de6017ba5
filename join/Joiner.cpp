#include "join/Joiner.h"

#include "platform/RuntimeError.h"
#include "platform/WinPath.h"

namespace brenvik {

void Joiner::open() {
    output_ = files_.createNew(request_.output);
}

void Joiner::write() {
    std::vector<FileStamp> stamps;
    for (const std::string& path : request_.sources) {
        std::unique_ptr<File> source = files_.openRead(path);
        stamps.push_back(source->stamp());
        copier_.AccodaFile(*source, output_->file(), source->length());
        source->close();
    }
    // "File Creato" must mean the bytes are on the disk, not in a cache a power cut would lose.
    output_->flush();
    for (size_t i = 0; i < request_.sources.size(); ++i)
        if (files_.stampOf(request_.sources[i]) != stamps[i])
            throw RuntimeError(err::FileAlreadyOpen);
    const std::string folder = winpath::folderOf(request_.output);
    {
        // A split naming its parts in the same folder meanwhile waits, and so does this.
        const std::unique_ptr<FolderLock> lock = files_.lockFolder(folder);
        output_->commit(request_.replacing ? Existing::Replace : Existing::Keep);
    }
    output_.reset();
    files_.syncFolder(folder);
}

} // namespace brenvik
