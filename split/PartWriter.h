#pragma once

#include <cstdint>
#include <string>

namespace brenvik {

class FileSystem;
class SplitReport;

// Copies the source, front to back, into its numbered parts: every part holds `grandezza` bytes
// but a short last one, which holds `resto`. The parts joined in number order are the source,
// byte for byte.
class PartWriter {
public:
    PartWriter(FileSystem& files, SplitReport& report) : files_(files), report_(report) {}

    static constexpr int64_t BlockSize = 1048576;

    // How one part of `partSize` bytes is moved: `fullBlocks` reads and writes of `blockSize`
    // bytes, then one of `tailSize` when that is not 0. A part of at most 1 MiB is one block of
    // its own size. Memory stays bounded: the copy holds one buffer of each size, never more.
    struct CopyPlan {
        int64_t blockSize = 0;
        int64_t fullBlocks = 0;
        int64_t tailSize = 0;
    };
    static CopyPlan planFor(int64_t partSize);

    // Writes parts `prefissodest` + "000" onwards, showing "Creando ..." for each and the success
    // text at the end, moving the progress display from 40 to 100.
    // The counts must have been validated: 0 < `resto` < `grandezza` or `resto` = 0,
    // 1 <= `numparti` <= 1000.
    //
    // Once the source is open, the earlier set of this name in the folder (the run from 000) is
    // removed, and temporaries that killed runs left there. Each part is written under a
    // temporary name and renamed into place once flushed, replacing a file or a link of its name
    // without writing through it; the success text comes only once the folder's names are on the
    // disk too.
    //
    // A file-system failure throws RuntimeError, and a source that no longer holds exactly the
    // bytes planned (it shrank or grew since it was measured) or a part that would be the source
    // itself throws SplitAbort; either way the parts that were complete stay, and nothing else.
    void CreaParti(int64_t grandezza, int64_t resto, int32_t numparti, const std::string& percorso,
                   const std::string& prefisso, const std::string& prefissodest);

private:
    FileSystem& files_;
    SplitReport& report_;
};

} // namespace brenvik
