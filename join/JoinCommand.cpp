#include "join/JoinCommand.h"

#include "mainwindow/MainWindow.h"

namespace brenvik {

// STUB: filled in by the join work.
void JoinCommand::uniscifile_Click() {}

} // namespace brenvik
