#include "mainwindow/SelectedFile.h"

#include "mainwindow/MainWindow.h"

namespace brenvik {

// STUB: filled in by the selected-file work.
void SelectedFile::list_Click() {}

std::string SelectedFile::describe(const std::string& name, int64_t size) {
    (void)size;
    return name;
}

} // namespace brenvik
