#pragma once

#include <string>

namespace brenvik {

class FileSystem;

// Creates the folder typed by the user level by level from the top down, as the destination
// dialog and the wizard confirm it: a copy of `typed` gains a final "\", its first three
// characters (the drive root) are skipped, and every "\" after them closes one level to create.
// The first failure ends the walk and is thrown as the RuntimeError it is, so a level that exists
// already (75) leaves the deeper levels uncreated. A text shorter than a drive root throws 5.
void walkAndCreateFolders(FileSystem& files, const std::string& typed);

} // namespace brenvik
