// The reassembly script over any file name and part count: the first two bytes give the count
// (1 to 1000), the rest is the name.
#include "platform/Utf8.h"
#include "platform/WinPath.h"
#include "split/AssemblyScript.h"

#include <array>
#include <cstdio>
#include <cstdlib>

using namespace brenvik;

namespace {

void require(bool holds, const std::string& what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what.c_str());
        std::abort();
    }
}

std::string doubled(const std::string& s) {
    std::string out;
    for (char c : s) {
        out += c;
        if (c == '%')
            out += '%';
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const int32_t numparti = 1 + (data[0] | data[1] << 8) % 1000;
    const std::string filesel(reinterpret_cast<const char*>(data + 2), size - 2);
    // The split never gets this far with a name no Windows path can hold (it cannot open it).
    if (filesel.empty() || winpath::hasInvalidNameChar(filesel))
        return 0;
    const std::string prefisso = filesel + ".";

    const auto lines = AssemblyScript::lines(numparti, prefisso, filesel);
    std::string all;
    for (const std::string& line : lines) {
        require(utf8::length(line) <= AssemblyScript::MaxLine, "a line of " + std::to_string(utf8::length(line)));
        size_t quotes = 0;
        for (char c : line)
            quotes += c == '"';
        require(quotes % 2 == 0, "unbalanced quotes: " + line);
        all += line + "\n";
    }
    // Every part is read, quoted, its "%" doubled, in number order.
    size_t at = 0;
    for (int32_t i = 0; i < numparti; ++i) {
        const std::string part = "\"" + doubled(prefisso + std::to_string(1000 + i).substr(1)) + "\"";
        at = all.find(part, at);
        require(at != std::string::npos, "part missing or out of order: " + part);
        at += part.size();
    }
    // A target that a blank or a separator would cut stands in quotes.
    const bool mustQuote = filesel.find_first_of(" &()^,;=+") != std::string::npos;
    const std::string target = mustQuote ? "\"" + doubled(filesel) + "\"" : doubled(filesel);
    require(all.find(" " + target + " ") != std::string::npos || all.find(" " + target + "\n") != std::string::npos,
            "target not written as " + target);
    (void)AssemblyScript::contents(lines);
    return 0;
}
