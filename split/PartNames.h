#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace brenvik {

class SplitReport;

// The number of a part as its name ends: 0 to 999 with three digits ("007").
std::string threeDigits(int number);

// The ends of the part names, entry k being k in three digits: "000" to "999".
using Extensions = std::array<std::string, 1000>;
Extensions progressiveExtensions();

// The name of part `i`: `prefix` (the source's name and ".", after its folder or not) followed by
// entry `i` of `estensioni`. The parts, the status lines and the script all name parts so.
std::string partName(const std::string& prefix, const Extensions& estensioni, int32_t i);

// Part names: the source's full name, a dot and a three-digit number from 000 to 999
// (film.avi.000, film.avi.001, ...).
class PartNames {
public:
    explicit PartNames(SplitReport& report) : report_(report) {}

    // Builds the extension table `estensioni` ("000" to "999") and `prefisso` (`filesel` and
    // "."), reporting both stages in the status line and the progress display. An empty
    // `filesel` shows "Nessun File selezionato!", touches nothing else and returns false: the
    // split ends there.
    bool Ext(const std::string& filesel, std::string& prefisso, Extensions& estensioni);

private:
    SplitReport& report_;
};

} // namespace brenvik
