#include "split/PartSizeSelector.h"

#include "mainwindow/MainWindow.h"

namespace brenvik {

// STUB: filled in by the part-size work.
void PartSizeSelector::Text_Change() {}
void PartSizeSelector::Text_Click() {}
void PartSizeSelector::Text_KeyDown(int, int) {}
void PartSizeSelector::Text_KeyUp(int, int) {}
void PartSizeSelector::VScroll1_Change() {}
void PartSizeSelector::Option3_Click() {}
void PartSizeSelector::Option4_Click() {}
void PartSizeSelector::ContaFile() {}

} // namespace brenvik
