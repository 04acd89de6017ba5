#include "join/JoinMode.h"

#include "mainwindow/MainWindow.h"

namespace brenvik {

// STUB: filled in by the join work.
void JoinMode::Option1_Click() {}
void JoinMode::Option2_Click() {}
void JoinMode::File2_Click() {}
void JoinMode::Trova() {}

} // namespace brenvik
