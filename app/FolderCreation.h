#pragma once

#include <string>

namespace brenvik {

class Files;

// What a level that cannot be created does to the walk down a folder path.
enum class LevelFailure {
    PassOver, // the walk goes on; the caller finds out when it writes there
    Stop,     // the walk ends and the failure is thrown as the RuntimeError it is
};

// Creates the levels of the folder `dir` from the top down: a copy of it gains a final "\", its
// first three characters (the drive root, such as "c:\") are skipped, and every "\" after them
// closes one level to create. With Stop a level that exists already (75) ends the walk too, and a
// text shorter than a drive root throws 5, one too long for the walk's 16-bit count 6; with
// PassOver those create nothing and report nothing. Returns the number of the first failure that
// left a level missing (a refused folder, a file in the way), 0 when there was none.
int createFolderLevels(Files& files, const std::string& dir, LevelFailure onFailure);

// The split's and the join's walk: every level of `dir` that can be created is, the others are
// passed over silently. On return `dir` ends in "\". Returns what createFolderLevels does, so
// that a write that then finds no folder can tell the user why the folder is missing.
int FareCartelle(Files& files, std::string& dir);

// `failure` as the user is to hear of it: a missing path where FareCartelle could not make a
// level (`levelFailure`, as it returned) is that level's failure.
int causeOf(int failure, int levelFailure);

} // namespace brenvik
