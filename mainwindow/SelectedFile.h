#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace brenvik {

class MainWindow;

// A click in the split-mode file list: the file becomes the source of the next split. Its
// name, folder, path and size go into the main window's state, the destination box gets the
// per-file folder, the split controls are enabled and the status line describes the file.
class SelectedFile {
public:
    explicit SelectedFile(MainWindow& main) : m(main) {}

    // In join mode only the destination box follows the click. A file that cannot be measured
    // goes through the error table's retry / continue / give-up answers.
    void list_Click();

    // The status line's description of a file of `size` bytes (`kb` whole kilobytes) named
    // `name`: in bytes below 1 KB, in KB below 1024 KB, in KB and MB above; nothing for a
    // negative size.
    static std::optional<std::string> describe(const std::string& name, int64_t size, double kb);

private:
    MainWindow& m;
};

} // namespace brenvik
