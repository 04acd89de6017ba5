#pragma once

#include "support/TestApp.h"

#include <optional>
#include <string>
#include <vector>

namespace brenvik {

// The user checks "Unisci Files"; `found` is the count the detection is expected to report, 0
// for no message.
void enterJoinMode(ScriptedDesktop& desktop, MainWindow& m, int found);

// While `nomefile` is shown, the user types `typed` (when given) and presses OK.
void answerName(ScriptedDesktop& desktop, std::optional<std::string> typed = {});

// Writes `files` (name and bytes, in list order) into c:\dati, starts there, enters join mode
// (nothing detected) and selects them all.
MainWindow& selectToJoin(TestApp& app, const std::vector<std::pair<std::string, std::string>>& files);

// `name` in c:\src split through the window at `kb`, then joined back from the parts' folder
// under the name the detection proposes, into c:\myfiles.
void splitAndJoinBack(TestApp& app, const std::string& name, int64_t kb, int parts);

// Two sources of `bytes` each selected in c:\dati, to be joined into c:\myfiles.
struct TwoSourceJoin {
    explicit TwoSourceJoin(size_t bytes = 40000);

    // Joins into c:\myfiles\`name`, answering Yes to the question whether to replace it when
    // `replacing`. With `error` 0 the file must be created from both sources; otherwise the error
    // box of that number must end the join, claiming nothing done. No temporary is left either way.
    void join(const std::string& name, bool replacing, int error = 0);
    // The program's temporaries in c:\myfiles.
    std::vector<std::string> temporaries();

    TestApp app;
    const std::string first, second;
};

} // namespace brenvik
