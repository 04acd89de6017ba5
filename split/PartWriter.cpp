#include "split/PartWriter.h"

#include "platform/Files.h"
#include "split/PartNames.h"
#include "split/PartSet.h"
#include "split/SplitAbort.h"
#include "split/SplitReport.h"

#include <memory>

namespace brenvik {

namespace {

// A buffer left uninitialised: while the host copies from file to file itself its pages are never
// touched, so they take no memory.
struct Buffer {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
};

// Moves exactly the buffer's size from the source to the part; a request to end the program is
// heard between blocks.
void copyBlock(File& source, File& part, Buffer& buffer, SplitReport& report) {
    report.checkpoint();
    if (part.copyFrom(source, buffer.bytes.get(), buffer.size) != buffer.size)
        throw SplitAbort(SplitAbort::SourceChanged);
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
    if (partSize > File::BlockSize)
        return {File::BlockSize, partSize / File::BlockSize, partSize % File::BlockSize};
    return {partSize, 1, 0};
}

FileStamp PartWriter::CreaParti(int64_t grandezza, int64_t resto, int32_t numparti, const std::string& percorso,
                                const std::string& prefisso, const Extensions& estensioni, PartSet& parts) {
    std::unique_ptr<File> source = files_.openRead(percorso);
    const FileStamp opened = source->stamp();
    parts.check(percorso);

    CopyPlan plan = planFor(grandezza);
    Buffer block;
    Buffer tail;
    sizeBuffers(plan, block, tail);
    report_.advance(800, 20);

    for (int32_t i = 0; i < numparti; ++i) {
        File& out = parts.addPart(i);
        report_.setStatus("Creando " + partName(prefisso, estensioni, i) + "   # " + std::to_string(i + 1) + " of  " +
                          std::to_string(numparti));
        if (i == numparti - 1 && resto > 0) {
            plan = planFor(resto);
            sizeBuffers(plan, block, tail);
        }
        for (int64_t b = 0; b < plan.fullBlocks; ++b)
            copyBlock(*source, out, block, report_);
        if (plan.tailSize > 0)
            copyBlock(*source, out, tail, report_);
        // The disk writes this part while the next is copied; the flush at the end then waits
        // for little.
        out.startSync();
    }
    // Every planned byte is in the parts; one more would mean the source grew since it was
    // measured and the set is short.
    char probe = 0;
    if (source->read(&probe, 1) != 0)
        throw SplitAbort(SplitAbort::SourceChanged);
    source->close();
    parts.flush([this] { report_.checkpoint(); });
    return opened;
}

void PartWriter::reportCreated(int32_t numparti) {
    const std::string count = std::to_string(numparti);
    report_.setStatus(" " + count + "/ " + count + " files creati con  SUCCESSO");
    report_.advance(1600 - 20, 40);
}

} // namespace brenvik
