#include "split/PartSet.h"

#include "platform/Folders.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"
#include "platform/WinPath.h"
#include "split/PartNames.h"
#include "split/SplitAbort.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace brenvik {

PartSet::PartSet(Files& files, Folders& folders, std::string prefix, const Extensions& extensions, int32_t count,
                 std::string script)
    : files_(files), folders_(folders), prefix_(std::move(prefix)), extensions_(extensions),
      folder_(winpath::folderOf(prefix_)), count_(count), script_(std::move(script)) {}

namespace {

// One step of taking a failed commit back. The failure that stopped the commit is the one to
// report; should the disk refuse this step too, the file stays aside, where no run takes it.
void takeBack(const std::function<void()>& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

} // namespace

std::string PartSet::part(int32_t i) const {
    return partName(prefix_, extensions_, i);
}

void PartSet::check(const std::string& source) {
    for (int32_t i = 0; i < count_; ++i) {
        const std::string name = part(i);
        files_.checkNewName(name);
        // A second name of the source among the part names: whoever reads the set through it
        // would take the source for a part.
        if (files_.sameFile(name, source))
            throw SplitAbort("Split interrotto: una parte sovrascriverebbe il file d'origine");
    }
    files_.checkNewName(script_);
    for (const std::string& name : earlierNames())
        files_.checkNewName(name);
}

std::vector<std::string> PartSet::earlierNames() {
    // Each name as the folder spells it. A disk that ignores case (NTFS, FAT) finds "Film.avi.000"
    // under "film.avi.000", and the detection takes it for this set's: the same file under two
    // spellings is the same name there. Elsewhere the two are different files, and another set.
    // The name itself comes first: where case counts, another file's spelling must not hide it.
    std::unordered_set<std::string> exact;
    std::unordered_map<std::string, std::string> spelled;
    for (const std::string& name : folders_.files(folder_)) {
        exact.insert(name);
        spelled.emplace(utf8::asciiLower(name), name);
    }
    const std::string prefixName = prefix_.substr(folder_.size());
    const auto onDisk = [&](const std::string& name) -> std::optional<std::string> {
        if (exact.contains(name))
            return folder_ + name;
        const auto it = spelled.find(utf8::asciiLower(name));
        if (it != spelled.end() && files_.sameFile(folder_ + name, folder_ + it->second))
            return folder_ + it->second;
        return std::nullopt;
    };
    const auto partOnDisk = [&](int32_t i) {
        return i < 1000 ? onDisk(partName(prefixName, extensions_, i)) : std::nullopt;
    };

    // The earlier set is the run from 000, as the part detection finds it; whatever run follows
    // the new set's last part (what an interrupted commit leaves, say) would be taken for more of
    // the new set. The clearing covers both, and every other file named like a new part.
    int32_t end = 0;
    while (partOnDisk(end))
        ++end;
    int32_t tail = count_;
    while (partOnDisk(tail))
        ++tail;
    std::vector<std::string> names;
    // The script goes first, so that no script stands beside a run without its part 000; then
    // part 000, the detection's anchor, so that from then on no set of this name is found at all;
    // then the rest from the top down, so that what a kill leaves of it runs from 001, where the
    // next commit finds it.
    if (auto script = onDisk(script_.substr(folder_.size())))
        names.push_back(*script);
    if (end > 0)
        names.push_back(*partOnDisk(0));
    for (int32_t i = std::max(tail, end) - 1; i >= 1; --i)
        if (auto name = partOnDisk(i))
            names.push_back(*name);
    return names;
}

std::vector<NewFile*> PartSet::namingOrder() const {
    // From the last part down, so that the set appears with its part 000; its script after it.
    std::vector<NewFile*> order;
    for (auto it = parts_.rbegin(); it != parts_.rend(); ++it)
        order.push_back(it->get());
    if (scriptFile_)
        order.push_back(scriptFile_.get());
    return order;
}

template <typename Step>
auto PartSet::withFreeHandles(Step step) {
    try {
        return step();
    } catch (const RuntimeError& e) {
        if (e.number() != err::TooManyFiles || !releaseHeld())
            throw;
    }
    return step();
}

bool PartSet::releaseHeld() {
    bool released = false;
    for (auto& held : parts_) {
        held->release();
        released = true;
    }
    if (scriptFile_) {
        scriptFile_->release();
        released = true;
    }
    return released;
}

std::unique_ptr<NewFile> PartSet::create(const std::string& path) {
    return withFreeHandles([&] { return files_.createNew(path); });
}

File& PartSet::addPart(int32_t i) {
    parts_.push_back(create(part(i)));
    return parts_.back()->file();
}

File& PartSet::addScript() {
    scriptFile_ = create(script_);
    return scriptFile_->file();
}

void PartSet::flush(const std::function<void()>& between) {
    for (auto& p : parts_) {
        p->flush();
        if (between)
            between();
    }
    if (scriptFile_)
        scriptFile_->flush();
}

void PartSet::commit(const std::function<void()>& waiting) {
    flush();
    const std::unique_ptr<FolderLock> lock = withFreeHandles([&] { return files_.lockFolder(folder_, waiting); });
    // Read again under the lock: another run may have committed a set of this name meanwhile.
    const std::vector<std::string> earlier = withFreeHandles([&] { return earlierNames(); });
    for (const std::string& name : earlier)
        files_.checkNewName(name);
    const std::vector<NewFile*> naming = namingOrder();
    // Every new name is tried before anything of the earlier set goes. With no earlier set there
    // is nothing to lose: the names are taken at once, and a refused one is withdrawn like any.
    if (!earlier.empty())
        for (NewFile* file : naming)
            file->nameAside();

    std::vector<std::unique_ptr<AsideFile>> asides;
    size_t named = 0;
    try {
        for (const std::string& name : earlier) {
            try {
                asides.push_back(files_.setAside(name));
            } catch (const RuntimeError& e) {
                if (e.number() != err::FileNotFound) // someone else's doing, and what was wanted
                    throw;
            }
        }
        // Kept, never replaced: whatever stood under these names is aside by now, and a file
        // that came meanwhile is not this run's to destroy.
        for (; named < naming.size(); ++named)
            naming[named]->commit(Existing::Keep);
    } catch (...) {
        // Back as it was, in the reverse order: the new script goes before the new part 000, the
        // earlier part 000 comes back before the earlier script.
        while (named > 0)
            takeBack([&] { naming[--named]->withdraw(); });
        while (!asides.empty()) {
            takeBack([&] { asides.back()->restore(); });
            asides.pop_back();
        }
        throw;
    }

    // The new set stands: what fails from here on is reported as such.
    int failure = 0;
    const auto note = [&failure](const std::function<void()>& step) {
        try {
            step();
        } catch (const RuntimeError& e) {
            if (failure == 0)
                failure = e.number();
        }
    };
    for (const auto& aside : asides)
        note([&] { aside->remove(); });
    note([&] { withFreeHandles([&] { files_.syncFolder(folder_); }); });
    if (failure != 0)
        throw SetWrittenDiskFailed{failure};
}

} // namespace brenvik
