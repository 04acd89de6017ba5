#include "split/SplitCommand.h"

#include "mainwindow/MainWindow.h"

namespace brenvik {

// STUB: filled in by the split work.
void SplitCommand::Split_Click() {}

} // namespace brenvik
