#include "platform/WinPath.h"

namespace brenvik::winpath {

std::optional<char> driveLetter(std::string_view path) {
    if (path.size() < 2 || path[1] != ':')
        return std::nullopt;
    char c = path[0];
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    if (c >= 'a' && c <= 'z')
        return c;
    return std::nullopt;
}

bool isBareDrive(std::string_view path) {
    if (!driveLetter(path))
        return false;
    return path.size() == 2 || path[2] == ' ';
}

std::vector<std::string> segments(std::string_view path) {
    std::vector<std::string> out;
    std::string_view rest = path.substr(driveLetter(path) ? 2 : 0);
    size_t i = 0;
    while (i <= rest.size()) {
        size_t j = rest.find_first_of("\\/", i);
        if (j == std::string_view::npos)
            j = rest.size();
        std::string_view part = rest.substr(i, j - i);
        if (part == "..") {
            if (!out.empty())
                out.pop_back();
        } else if (!part.empty() && part != ".") {
            out.emplace_back(part);
        }
        i = j + 1;
    }
    return out;
}

std::optional<std::string> normalizeFolder(std::string_view path) {
    auto letter = driveLetter(path);
    if (!letter)
        return std::nullopt;
    std::string out(1, *letter);
    out += ":\\";
    auto parts = segments(path);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += '\\';
        out += parts[i];
    }
    return out;
}

std::string join(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (out.empty() || (out.back() != '\\' && out.back() != '/'))
        out += '\\';
    out += name;
    return out;
}

std::string folderOf(std::string_view path) {
    const size_t cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(0, cut + 1));
}

bool hasInvalidNameChar(std::string_view name) {
    for (char c : name) {
        auto u = static_cast<unsigned char>(c);
        if (u < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*' || c == '\\' ||
            c == '/')
            return true;
    }
    return false;
}

} // namespace brenvik::winpath
