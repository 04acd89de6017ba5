#pragma once

#include "platform/Files.h"
#include "split/PartNames.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brenvik {

class Folders;

// Thrown by PartSet::commit once the new set stands, whole, under its names, when the disk then
// reports an error (making the names durable, or removing the earlier set's files): the set is
// written, and the disk may not keep it through a power cut.
struct SetWrittenDiskFailed {
    int number;
};

// The files of one split, its parts and its script, written aside and named together: the part
// detection finds either the set of the same name that stood there before, whole, or the new one,
// whole, and never a part of one nor a mix of two, whether the split fails, is killed or runs
// beside another; a script never stands beside a run that lacks its part 000. Until commit() no
// name in the folder changes (parts released for want of open files wait under temporary names);
// what was not committed is discarded.
class PartSet {
public:
    // The parts `prefix` + "000" onwards, `count` of them (`prefix` is the folder, the source's
    // name and "."; part i is named by partName from `extensions`), and the script `script`, a
    // path in the same folder.
    PartSet(Files& files, Folders& folders, std::string prefix, const Extensions& extensions, int32_t count,
            std::string script);

    // Tries every name the set will take or clear before a byte is written, and throws what
    // taking or clearing it would (a folder of a part's name, a name too long, a file its owner
    // made read-only), or SplitAbort when a part would be the source itself.
    void check(const std::string& source);
    // Part `i`, created aside; parts come in order from 0. Short of open files, the parts before
    // it are flushed and released first.
    File& addPart(int32_t i);
    // The script, created aside. A set never given one still clears the earlier script.
    File& addScript();
    // Puts every file on the disk, calling `between` after each.
    void flush(const std::function<void()>& between = {});
    // Flushes what is not flushed yet, then, holding the folder against other runs' commits
    // (`waiting` runs while another holds it, and may throw to give up):
    // 1. every new file takes a temporary name in the folder, where a refusal (no room, a quota,
    //    a disk error, a security module) still changes nothing;
    // 2. the earlier set goes aside under temporary names: its script, then its part 000 (from
    //    here on the detection finds no set of this name), then the rest of its run from the top
    //    down, every other file named like a new part, and whatever run would follow the new
    //    set's last part;
    // 3. the new parts take their names from the last down, part 000 last, so that the set
    //    appears in one step, and then its script;
    // 4. the earlier files go for good, and the names are made durable.
    // A failure in 1 to 3 takes back what 2 and 3 did, in the reverse order, and leaves the folder
    // as it was; one in 4 throws SetWrittenDiskFailed.
    void commit(const std::function<void()>& waiting);

private:
    std::string part(int32_t i) const;
    // The names the commit clears, in the order it clears them, as the folder holds them now.
    std::vector<std::string> earlierNames();
    // The new files in the order they take their names.
    std::vector<NewFile*> namingOrder() const;
    std::unique_ptr<NewFile> create(const std::string& path);
    // Runs `step`; short of open files, releases the files held open and runs it again.
    template <typename Step>
    auto withFreeHandles(Step step);
    bool releaseHeld();

    Files& files_;
    // The folder's names as the part detection sees them.
    Folders& folders_;
    std::string prefix_;
    const Extensions& extensions_;
    std::string folder_;
    int32_t count_;
    std::string script_;
    std::vector<std::unique_ptr<NewFile>> parts_;
    std::unique_ptr<NewFile> scriptFile_;
};

} // namespace brenvik
