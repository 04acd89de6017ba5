#pragma once

#include <cstdint>
#include <string>

namespace brenvik {

class MainWindow;

// A click in the split-mode file list: the file becomes the source of the next split.
class SelectedFile {
public:
    explicit SelectedFile(MainWindow& main) : m(main) {}

    void list_Click();

    // The status line's description of a file of `size` bytes named `name`.
    static std::string describe(const std::string& name, int64_t size);

private:
    MainWindow& m;
};

} // namespace brenvik
