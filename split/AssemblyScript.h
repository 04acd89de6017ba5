#pragma once

#include "split/PartNames.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brenvik {

class PartSet;
class SplitReport;

// The batch script "Assembla[" + name + "].bat" written beside the parts, with which the
// Windows command interpreter rebuilds the file (COPY /B) without this program.
//
// For an ordinary name it is twelve fixed lines with one copy line:
//     COPY /B "film.avi.000" + "film.avi.001" film.avi /B /V /-Y
// The interpreter's own rules shape the rest:
// - a target holding a space or one of & ( ) ^ , ; = + stands in double quotes (bare, it is
//   cut into several words or commands);
// - every "%" of a name is written "%%" (a single one starts a variable, even inside quotes);
// - no line is longer than the 8191 characters the interpreter reads. When the one copy line
//   would be longer, the parts are gathered into a temporary file name + ".$$$" (a name no
//   part, script or target can have, and no longer than a part's, so that it fits wherever the
//   parts' paths fit) by one COPY of the first parts and appending
//   COPYs of the next ones, each line within the bound; then "MOVE /-Y" gives it the target's
//   name, asking before an existing file is replaced, and the temporary file is deleted if it
//   is still there (the user declined). Parts are only ever read;
// - the text is written in the OEM code page 850, the one the interpreter reads batch files in.
class AssemblyScript {
public:
    explicit AssemblyScript(SplitReport& report) : report_(report) {}

    static constexpr size_t MaxLine = 8191;

    static std::string fileName(const std::string& filesel);
    // The file the gathering copies build the target in, when they do.
    static std::string gatheringName(const std::string& filesel);

    // The script's lines (UTF-8, without line ends) for the parts `prefisso` followed by entries
    // 0 to `numparti` - 1 of `estensioni`, and the target `filesel`.
    static std::vector<std::string> lines(int32_t numparti, const std::string& prefisso, const Extensions& estensioni,
                                          const std::string& filesel);
    // The bytes of the file: every line ended by CR LF, in the system's OEM code page (850 when
    // written on another host than Windows); nothing when a name holds a character that page
    // cannot write, since the interpreter would then look for another file.
    static std::optional<std::string> contents(const std::vector<std::string>& lines);

    // Writes the script into the set of parts, which names it with them. A name the script
    // cannot hold writes no script, says so in the status line and returns false: the set is then
    // named without one. A file-system failure throws RuntimeError.
    bool CreaAssembla(int32_t numparti, const std::string& prefisso, const Extensions& estensioni,
                      const std::string& filesel, PartSet& parts);

private:
    SplitReport& report_;
};

} // namespace brenvik
