#include "split/PartWriter.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/WinPath.h"
#include "split/PartNames.h"
#include "split/SplitAbort.h"
#include "split/SplitReport.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace brenvik {

namespace {

constexpr const char* SourceChanged = "Split interrotto: il file d'origine è cambiato durante lo split";
constexpr const char* PartIsSource = "Split interrotto: una parte sovrascriverebbe il file d'origine";

// A buffer left uninitialised: while the host copies from file to file itself its pages are never
// touched, so they take no memory.
struct Buffer {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
};

// Moves exactly the buffer's size from the source to the part.
void copyBlock(File& source, File& part, Buffer& buffer) {
    if (part.copyFrom(source, buffer.bytes.get(), buffer.size) != buffer.size)
        throw SplitAbort{SourceChanged};
}

// Removes the set of an earlier split of the same name in the folder: the run of parts from 000
// on, as the join's search would find it. So a shorter or interrupted split never leaves a mix
// of two sets. Names out of that run, folders and every other file stay.
void removeEarlierSet(FileSystem& files, const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names = files.files(folder);
    std::sort(names.begin(), names.end());
    for (int i = 0; i < 1000; ++i) {
        const std::string name = prefix + threeDigits(i);
        if (!std::binary_search(names.begin(), names.end(), name))
            return;
        files.removeFile(folder + name);
    }
}

Buffer bufferOf(int64_t size) {
    return {std::unique_ptr<char[]>(new char[static_cast<size_t>(size)]), static_cast<size_t>(size)};
}

// Buffers sized afresh for a plan, the old ones released first.
void sizeBuffers(const PartWriter::CopyPlan& plan, Buffer& block, Buffer& tail) {
    block = {};
    tail = {};
    block = bufferOf(plan.blockSize);
    tail = bufferOf(plan.tailSize);
}

} // namespace

PartWriter::CopyPlan PartWriter::planFor(int64_t partSize) {
    if (partSize > BlockSize)
        return {BlockSize, partSize / BlockSize, partSize % BlockSize};
    return {partSize, 1, 0};
}

void PartWriter::CreaParti(int64_t grandezza, int64_t resto, int32_t numparti, const std::string& percorso,
                           const std::string& prefisso, const std::string& prefissodest) {
    FileSystem& files = files_;
    std::unique_ptr<File> source = files.openRead(percorso);
    const std::string folder = winpath::folderOf(prefissodest);
    files.removeAbandonedTemporaries(folder);
    removeEarlierSet(files, folder, prefissodest.substr(folder.size()));

    CopyPlan plan = planFor(grandezza);
    Buffer block;
    Buffer tail;
    sizeBuffers(plan, block, tail);
    report_.advance(800, 20);

    // A part is written under a temporary name and takes its own only once it is on the disk, so
    // a part under its name is always complete, whenever the split stops. The parts are flushed
    // once all are written (flushing each while the next are copied stalls the disk's stream and
    // cost half as much time again), and named only once all are flushed, so that a split killed
    // before its last milliseconds leaves no run of parts for the join to take for the whole.
    // Should the system run short of open files first, the parts written so far are settled then.
    struct Pending {
        FileSystem::Temporary written;
        std::string part;
    };
    std::deque<Pending> settling;
    std::optional<Pending> writing;
    // The first part waiting takes its name; it must be on the disk already.
    auto name = [&files, &settling] {
        Pending& p = settling.front();
        p.written.file->close();
        files.rename(p.written.path, p.part, FileSystem::Existing::Replace);
        settling.pop_front();
    };
    auto settle = [&settling, &name] {
        settling.front().written.file->sync();
        name();
    };
    auto createTemporary = [&files, &settling, &settle](const std::string& part) {
        try {
            return files.createTemporary(part);
        } catch (const RuntimeError& e) {
            if (e.number() != err::TooManyFiles || settling.empty())
                throw;
        }
        while (!settling.empty())
            settle();
        return files.createTemporary(part);
    };
    try {
        for (int32_t i = 0; i < numparti; ++i) {
            const std::string extension = threeDigits(i);
            const std::string part = prefissodest + extension;
            // A second name of the source among the part names would be replaced by the part,
            // and a link to it followed by whatever reads the set.
            if (files.sameFile(part, percorso))
                throw SplitAbort{PartIsSource};
            writing = Pending{createTemporary(part), part};
            report_.setStatus("Creando " + prefisso + extension + "   # " + std::to_string(i + 1) + " of  " +
                              std::to_string(numparti));
            report_.paint();
            if (i == numparti - 1 && resto > 0) {
                plan = planFor(resto);
                sizeBuffers(plan, block, tail);
            }
            File& out = *writing->written.file;
            for (int64_t b = 0; b < plan.fullBlocks; ++b)
                copyBlock(*source, out, block);
            if (plan.tailSize > 0)
                copyBlock(*source, out, tail);
            out.startSync();
            settling.push_back(std::move(*writing));
            writing.reset();
        }
        // Every planned byte is in the parts; one more would mean the source grew since it was
        // measured and the set is short.
        char probe = 0;
        if (source->read(&probe, 1) != 0)
            throw SplitAbort{SourceChanged};
        source->close();
        for (Pending& p : settling)
            p.written.file->sync();
        while (!settling.empty())
            name();
        // Success is reported only for names that would survive a power cut.
        files.syncFolder(folder);
    } catch (...) {
        // The parts written before the failure are complete: they take their names in order for as
        // long as they can, so that the ones named always run from 000 without a gap.
        try {
            while (!settling.empty())
                settle();
        } catch (...) {
            for (Pending& left : settling)
                files.discard(left.written);
        }
        if (writing)
            files.discard(writing->written);
        throw;
    }

    const std::string count = std::to_string(numparti);
    report_.setStatus(" " + count + "/ " + count + " files creati con  SUCCESSO");
    report_.advance(1600 - 20, 40);
}

} // namespace brenvik
