#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace brenvik {

class Files;
class Folders;

// What a split or a join does while another Brenvik holds the folder it names its files in
// (Files::lockFolder's `waiting`): the status line says so, through `say`, once; a request to
// end the program stops the wait (`checkpoint`); after `bound` (Bound unless told) it gives up
// with 55, which the commands report with AnotherBrenvik, never as a file already open.
class FolderWait {
public:
    // Far longer than any commit lasts: only a run stopped in the middle of one holds it longer.
    static constexpr std::chrono::seconds Bound{30};
    static constexpr const char* Waiting = "Un altro Brenvik sta scrivendo in questa cartella: attendo che finisca...";
    static constexpr const char* AnotherBrenvik = "un altro Brenvik sta scrivendo in questa cartella";

    FolderWait(std::function<void(const std::string&)> say, std::function<void()> checkpoint,
               std::chrono::milliseconds bound = Bound)
        : say_(std::move(say)), checkpoint_(std::move(checkpoint)), bound_(bound) {}

    void operator()();

private:
    std::function<void(const std::string&)> say_;
    std::function<void()> checkpoint_;
    std::chrono::milliseconds bound_;
    std::chrono::steady_clock::time_point giveUp_{};
};

// What a run out of room in `folder` adds to its message when files left there by interrupted
// runs take room ("~brenvik-" + sixteen hexadecimal digits + ".$$$"): how many, and how much they
// hold. Empty when there are none; nothing is removed, since the program cannot prove them its own.
std::string leftoversNote(Folders& folders, Files& files, const std::string& folder);

} // namespace brenvik
