#include "app/Waits.h"

#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/RuntimeError.h"
#include "platform/WinPath.h"

#include <cctype>
#include <cmath>
#include <cstdint>

namespace brenvik {

void FolderWait::operator()() {
    if (checkpoint_)
        checkpoint_();
    const auto now = std::chrono::steady_clock::now();
    if (giveUp_ == std::chrono::steady_clock::time_point{}) {
        giveUp_ = now + bound_;
        say_(Waiting);
    }
    if (now > giveUp_)
        throw RuntimeError(err::FileAlreadyOpen);
}

namespace {

bool isLeftover(const std::string& name) {
    constexpr size_t Head = 9; // "~brenvik-"
    if (name.size() != Head + 16 + 4 || name.compare(0, Head, "~brenvik-") != 0 ||
        name.compare(Head + 16, 4, ".$$$") != 0)
        return false;
    for (size_t i = Head; i < Head + 16; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

std::string amount(int64_t bytes) {
    constexpr int64_t Mebibyte = int64_t{1024} * 1024;
    if (bytes < Mebibyte)
        return std::to_string((bytes + 1023) / 1024) + " KB";
    return std::to_string(std::llround(static_cast<double>(bytes) / static_cast<double>(Mebibyte))) + " MB";
}

} // namespace

std::string leftoversNote(Folders& folders, Files& files, const std::string& folder) {
    int count = 0;
    int64_t bytes = 0;
    try {
        for (const std::string& name : folders.files(folder)) {
            if (!isLeftover(name))
                continue;
            ++count;
            try {
                bytes += files.fileLength(winpath::join(folder, name));
            } catch (const RuntimeError&) {
                // Gone meanwhile: counted, and holding nothing.
            }
        }
    } catch (const RuntimeError&) {
        return {};
    }
    if (count == 0)
        return {};
    return " (nella cartella " + std::to_string(count) +
           (count == 1 ? " file temporaneo ~brenvik-….$$$ lasciato" : " file temporanei ~brenvik-….$$$ lasciati") +
           " da operazioni interrotte occupa" + (count == 1 ? " " : "no ") + amount(bytes) +
           ": se nessun Brenvik è in funzione si possono cancellare)";
}

} // namespace brenvik
