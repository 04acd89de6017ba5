#pragma once

#include "platform/FileStamp.h"
#include "split/PartNames.h"

#include <cstdint>
#include <string>

namespace brenvik {

class Files;
class PartSet;
class SplitReport;

// Copies the source, front to back, into its numbered parts: every part holds `grandezza` bytes
// but a short last one, which holds `resto`. The parts joined in number order are the source,
// byte for byte.
class PartWriter {
public:
    PartWriter(Files& files, SplitReport& report) : files_(files), report_(report) {}

    // How one part of `partSize` bytes is moved: `fullBlocks` reads and writes of `blockSize`
    // bytes (File::BlockSize, a mebibyte), then one of `tailSize` when that is not 0. A part of
    // at most a block is one block of its own size. Memory stays bounded: the copy holds one
    // buffer of each size, never more.
    struct CopyPlan {
        int64_t blockSize = 0;
        int64_t fullBlocks = 0;
        int64_t tailSize = 0;
    };
    static CopyPlan planFor(int64_t partSize);

    // Writes the parts (part i named by partName from `prefisso` and `estensioni`) into `parts`,
    // aside (see PartSet), showing "Creando ..." for each and moving the progress display from 40
    // to 60, and flushes them. The counts must have been validated: 0 < `resto` < `grandezza` or
    // `resto` = 0, 1 <= `numparti` <= 1000. Returns the source's stamp as it was opened.
    //
    // The source is opened first, then every name the set will take or clear is tried, before a
    // byte is copied. A file-system failure throws RuntimeError, and a source that no longer holds
    // exactly the bytes planned (it shrank or grew since it was measured) or a part that would be
    // the source itself throws SplitAbort; either way nothing in the folder has changed.
    FileStamp CreaParti(int64_t grandezza, int64_t resto, int32_t numparti, const std::string& percorso,
                        const std::string& prefisso, const Extensions& estensioni, PartSet& parts);
    // Once the set is named: the success text, and the progress display from 60 to 100.
    void reportCreated(int32_t numparti);

private:
    Files& files_;
    SplitReport& report_;
};

} // namespace brenvik
