#pragma once

#include <cstdint>
#include <string>

namespace brenvik {

class MainWindow;

// Copies the source, front to back, into its numbered parts: every part holds `grandezza` bytes
// but a short last one, which holds `resto`. The parts joined in number order are the source,
// byte for byte.
class PartWriter {
public:
    explicit PartWriter(MainWindow& main) : m(main) {}

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

    // Writes parts `prefissodest` + "000" onwards (an existing file of a part's name is
    // replaced), showing "Creando ..." for each and the success text at the end, moving the
    // progress display from 40 to 100, and refreshes the file list. The counts must have been
    // validated: 0 < `resto` < `grandezza` or `resto` = 0, 1 <= `numparti` <= 1000. The success
    // text comes only once every part and the folder's names are flushed to the disk.
    //
    // A file-system failure throws RuntimeError, and a source that no longer holds exactly the
    // bytes planned (it shrank or grew since it was measured) or a part that would be the source
    // itself throws SplitAbort; either way the part being written is removed first, so no part
    // on disk is ever incomplete, and nothing claims success.
    void CreaParti(int64_t grandezza, int64_t resto, int32_t numparti, const std::string& percorso,
                   const std::string& prefisso, const std::string& prefissodest);

private:
    MainWindow& m;
};

} // namespace brenvik
