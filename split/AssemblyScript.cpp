#include "split/AssemblyScript.h"

#include "platform/Files.h"
#include "platform/SystemCodePage.h"
#include "platform/Utf8.h"
#include "split/PartNames.h"
#include "split/PartSet.h"
#include "split/SplitReport.h"

#include <memory>
#include <string>

namespace brenvik {

namespace {

// The page named is the one the script would be written in: 850 on an Italian system.
std::string unwritable() {
    return "Parti create, script non creato: il nome ha caratteri fuori dalla code page " +
           std::to_string(syscp::oemCodePage());
}

const char* const Banner = "echo **************************************************";

std::string doublePercent(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        out += c;
        if (c == '%')
            out += '%';
    }
    return out;
}

std::string quoted(const std::string& name) {
    // Built by appending: "\"" + text makes GCC 12 warn of an overlap inside std::string.
    std::string out(1, '"');
    out += doublePercent(name);
    out += '"';
    return out;
}

// The target as a word of the command line: bare unless a character would cut it.
std::string target(const std::string& name) {
    if (name.find_first_of(" &()^,;=+") != std::string::npos)
        return quoted(name);
    return doublePercent(name);
}

size_t length(const std::string& line) {
    return utf8::length(line);
}

// Copy lines that gather the parts into `temp`, each within the interpreter's line length.
std::vector<std::string> gatheringLines(const std::vector<std::string>& parts, const std::string& temp) {
    const std::string tail = quoted(temp) + " /B /V /Y";
    std::vector<std::string> out;
    size_t next = 0;
    while (next < parts.size()) {
        std::string line = out.empty() ? "COPY /B " : "COPY /B " + quoted(temp) + " + ";
        // Counted as the line grows: measuring the whole line for every part made a thousand
        // parts cost millions of steps.
        size_t lineLength = length(line);
        const size_t tailLength = length(tail);
        bool first = true;
        while (next < parts.size()) {
            std::string piece = (first ? "" : "+ ") + quoted(parts[next]) + " ";
            const size_t pieceLength = length(piece);
            // A part always finds room on a line of its own: names are far shorter than a line.
            if (!first && lineLength + pieceLength + tailLength > AssemblyScript::MaxLine)
                break;
            line += piece;
            lineLength += pieceLength;
            first = false;
            ++next;
        }
        out.push_back(line + tail);
    }
    return out;
}

} // namespace

std::string AssemblyScript::fileName(const std::string& filesel) {
    return "Assembla[" + filesel + "].bat";
}

std::string AssemblyScript::gatheringName(const std::string& filesel) {
    return filesel + ".$$$";
}

std::vector<std::string> AssemblyScript::lines(int32_t numparti, const std::string& prefisso,
                                               const Extensions& estensioni, const std::string& filesel) {
    std::vector<std::string> parts;
    for (int32_t i = 0; i < numparti; ++i)
        parts.push_back(partName(prefisso, estensioni, i));

    std::vector<std::string> out = {
        "@echo off", "echo.", Banner,  "echo * ==[Brenvik Assembler]==                        *",
        Banner,      "echo.", "Pause", "echo."};

    std::string copy = "COPY /B ";
    for (size_t i = 0; i < parts.size(); ++i) {
        copy += quoted(parts[i]) + " ";
        if (i + 1 < parts.size())
            copy += "+ ";
    }
    copy += target(filesel) + " /B /V /-Y";

    if (length(copy) <= MaxLine) {
        out.push_back(copy);
    } else {
        const std::string temp = gatheringName(filesel);
        // The gathering overwrites its temporary file: a file of that name that is not ours is
        // left alone and nothing is rebuilt.
        out.push_back("IF EXIST " + quoted(temp) + " (echo " + quoted(temp) +
                      " esiste: rinominalo e ripeti, il file non e' stato ricostruito. & GOTO :EOF)");
        for (std::string& line : gatheringLines(parts, temp))
            out.push_back(std::move(line));
        out.push_back("MOVE /-Y " + quoted(temp) + " " + target(filesel));
        out.push_back("IF EXIST " + quoted(temp) + " DEL " + quoted(temp));
    }

    out.insert(out.end(), {"echo.", "echo.", "echo [Assemblaggio terminato!]"});
    return out;
}

std::optional<std::string> AssemblyScript::contents(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return syscp::toOem(text);
}

bool AssemblyScript::CreaAssembla(int32_t numparti, const std::string& prefisso, const Extensions& estensioni,
                                  const std::string& filesel, PartSet& parts) {
    std::optional<std::string> bytes = contents(lines(numparti, prefisso, estensioni, filesel));
    if (!bytes) {
        report_.setStatus(unwritable());
        return false;
    }
    // Half a script could rebuild half a file: it is named with the parts, once on the disk.
    parts.addScript().write(bytes->data(), bytes->size());
    return true;
}

} // namespace brenvik
