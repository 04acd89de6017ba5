#include "split/PartWriter.h"

#include "mainwindow/MainWindow.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/WinPath.h"
#include "split/ProgressStep.h"
#include "split/SplitAbort.h"

#include <memory>
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
    FileSystem& files = m.platform().files;
    std::unique_ptr<File> source = files.openRead(percorso);

    CopyPlan plan = planFor(grandezza);
    Buffer block;
    Buffer tail;
    sizeBuffers(plan, block, tail);
    advanceProgress(m, 800, 20);

    std::vector<std::string> parts;
    parts.reserve(static_cast<size_t>(numparti));
    for (int32_t i = 0; i < numparti; ++i) {
        const std::string& extension = m.estensioni[static_cast<size_t>(i)];
        const std::string part = prefissodest + extension;
        // A link or a second name of the source among the part names would be emptied by the
        // part's creation, losing the very data being split.
        if (files.sameFile(part, percorso))
            throw SplitAbort{PartIsSource};
        std::unique_ptr<File> out = files.create(part);
        try {
            m.infolabel.setCaption("Creando " + prefisso + extension + "   # " + std::to_string(i + 1) + " of  " +
                                   std::to_string(numparti));
            m.platform().desktop.refresh();
            if (i == numparti - 1 && resto > 0) {
                plan = planFor(resto);
                sizeBuffers(plan, block, tail);
            }
            for (int64_t b = 0; b < plan.fullBlocks; ++b)
                copyBlock(*source, *out, block);
            if (plan.tailSize > 0)
                copyBlock(*source, *out, tail);
            out->startSync();
            out->close();
            parts.push_back(part);
        } catch (...) {
            out.reset();
            try {
                files.removeFile(part);
            } catch (const RuntimeError&) {
                // Nothing more can be done about a part that cannot even be removed; the status
                // line says the split did not succeed.
            }
            throw;
        }
    }

    // Every planned byte is in the parts; one more would mean the source grew since it was
    // measured and the set is short.
    char probe = 0;
    if (source->read(&probe, 1) != 0)
        throw SplitAbort{SourceChanged};
    source->close();
    // Success is reported only for parts that would survive a power cut.
    files.syncFiles(parts);
    files.syncFolder(winpath::folderOf(prefissodest));

    const std::string count = std::to_string(numparti);
    m.infolabel.setCaption(" " + count + "/ " + count + " files creati con  SUCCESSO");
    advanceProgress(m, 1600 - 20, 40);
    try {
        m.list.refresh();
    } catch (const RuntimeError&) {
        // The list's folder may be gone; the parts are written all the same.
    }
}

} // namespace brenvik
