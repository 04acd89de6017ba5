#pragma once

#include "support/TestApp.h"

#include <string>
#include <vector>

namespace brenvik {

// Shared steps of the join tests: what the user does, and parts laid out on the test drives.

// The user checks "Unisci Files"; `found` is the count the detection is expected to report, 0
// for no message.
void enterJoinMode(ScriptedDesktop& desktop, MainWindow& m, int found);

// While `nomefile` is shown, the user types `name` and presses OK, or presses OK on the name
// proposed (kept in `proposed` when given).
void typeName(ScriptedDesktop& desktop, const std::string& name);
void confirmName(ScriptedDesktop& desktop, std::string* proposed = nullptr);

// Writes `files` (name and bytes, in list order) into c:\dati, starts there, enters join mode
// (nothing detected) and selects them all.
MainWindow& selectToJoin(TestApp& app, const std::vector<std::pair<std::string, std::string>>& files);

// The detection's message for `count` parts.
std::string foundMessage(int count);

// A part's name as the split writes it: `name`, a dot and the number in three digits.
std::string partName(const std::string& name, int number);

// The names of the selected items of a file list, in list order.
std::vector<std::string> selectedItems(FileList& list);

// Writes `bytes` into `folder` as parts of `partSize` bytes named `name` + ".000", ".001", ...:
// full parts, then the rest in a shorter last part (none when the size divides evenly).
// Returns how many parts were written.
int writeParts(TestDrives& drives, const std::string& folder, const std::string& name, const std::string& bytes,
               size_t partSize);

} // namespace brenvik
