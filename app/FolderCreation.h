#pragma once

#include <string>

namespace brenvik {

class FileSystem;

// Makes sure every level of the folder `dir` exists, creating the missing ones from the top
// down; a level that cannot be created is passed over silently. On return `dir` ends in "\".
// The first three characters (the drive root, such as "c:\") are never created.
void FareCartelle(FileSystem& files, std::string& dir);

} // namespace brenvik
