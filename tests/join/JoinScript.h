#pragma once

#include "support/TestApp.h"

#include <optional>
#include <string>
#include <vector>

namespace brenvik {

// The user checks "Unisci Files"; `found` is the count the detection is expected to report, 0
// for no message.
void enterJoinMode(ScriptedDesktop& desktop, MainWindow& m, int found);

// While `nomefile` is shown, the user types `typed` (when given) and presses OK; the name it
// proposed is kept in `proposed` when given.
void answerName(ScriptedDesktop& desktop, std::optional<std::string> typed = {}, std::string* proposed = nullptr);

// Writes `files` (name and bytes, in list order) into c:\dati, starts there, enters join mode
// (nothing detected) and selects them all.
MainWindow& selectToJoin(TestApp& app, const std::vector<std::pair<std::string, std::string>>& files);

} // namespace brenvik
