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

std::string PartSet::part(int32_t i) const {
    return prefix_ + extensions_[static_cast<size_t>(i)];
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
        return i < 1000 ? onDisk(prefixName + extensions_[static_cast<size_t>(i)]) : std::nullopt;
    };

    std::vector<std::string> names;
    // The earlier set is the run from 000, as the part detection finds it. Its part 000 goes
    // first: from then on the detection finds no set of this name at all. The rest goes from the
    // top down, so that what a kill leaves of it runs from 001, where the next commit finds it.
    int32_t end = 0;
    while (partOnDisk(end))
        ++end;
    if (end > 0)
        names.push_back(*partOnDisk(0));
    if (auto script = onDisk(script_.substr(folder_.size())))
        names.push_back(*script);
    for (int32_t i = end - 1; i >= 1; --i)
        names.push_back(*partOnDisk(i));
    // A run that would follow the new set's last part (what an interrupted commit leaves, say)
    // would make the detection take it for more of the set.
    int32_t tail = count_;
    while (partOnDisk(tail))
        ++tail;
    for (int32_t i = tail - 1; i >= std::max(count_, end); --i)
        names.push_back(*partOnDisk(i));
    return names;
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

void PartSet::commit() {
    flush();
    const std::unique_ptr<FolderLock> lock = withFreeHandles([&] { return files_.lockFolder(folder_); });
    // Read again under the lock: another run may have committed a set of this name meanwhile.
    const std::vector<std::string> earlier = withFreeHandles([&] { return earlierNames(); });
    for (const std::string& name : earlier)
        files_.checkNewName(name);
    for (const std::string& name : earlier) {
        try {
            files_.removeFile(name);
        } catch (const RuntimeError& e) {
            if (e.number() != err::FileNotFound) // someone else's doing, and what was wanted
                throw;
        }
    }
    if (scriptFile_)
        scriptFile_->commit(Existing::Replace);
    for (int32_t i = count_ - 1; i >= 0; --i)
        parts_[static_cast<size_t>(i)]->commit(Existing::Replace);
    withFreeHandles([&] { files_.syncFolder(folder_); });
}

} // namespace brenvik
