#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brenvik::winpath {

// Windows path texts as the windows' logic writes them: "c:\myfiles\film.avi".

// The drive letter (lower case) of a text that begins with a letter and a colon.
std::optional<char> driveLetter(std::string_view path);

// "c:" alone, or a drive list entry such as "c: [/home/ana]": a drive, not a folder.
bool isBareDrive(std::string_view path);

// The path's folder names below the drive root, without empty names or ".", with ".." folded
// (never above the root). "c:\a\\b\..\c\" gives {"a", "c"}.
std::vector<std::string> segments(std::string_view path);

// A folder as the folder list writes it: lower-case drive letter, "c:\" for a root, no final
// separator below it, single separators. Nothing for a text without a drive.
std::optional<std::string> normalizeFolder(std::string_view path);

// The folder with "\" and the name appended, adding the separator only when it is missing.
std::string join(std::string_view folder, std::string_view name);

// The folder a path's file is in, with its final separator: "c:\dest\" of "c:\dest\film.avi" (and
// of the parts' prefix "c:\dest\film.avi."). A path without a separator is returned whole.
std::string folderOf(std::string_view path);

// True when the name holds a character that no Windows file name may hold.
bool hasInvalidNameChar(std::string_view name);

} // namespace brenvik::winpath
