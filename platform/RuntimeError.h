#pragma once

#include <stdexcept>
#include <string>

namespace brenvik {

// The runtime's conventional error numbers. Every failure of the platform layer carries one of
// them, so the windows' error handlers can look them up in the message table.
namespace err {
constexpr int InvalidArgument = 5;
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
constexpr int BadFileNameOrNumber = 52;
constexpr int FileNotFound = 53;
constexpr int BadFileMode = 54;
constexpr int FileAlreadyOpen = 55;
constexpr int DeviceIo = 57;
constexpr int FileAlreadyExists = 58;
constexpr int DiskFull = 61;
constexpr int InputPastEnd = 62;
constexpr int BadFileName = 64;
constexpr int TooManyFiles = 67;
constexpr int DeviceUnavailable = 68;
constexpr int PermissionDenied = 70;
constexpr int DiskNotReady = 71;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidPropertyValue = 380;
constexpr int SaveFailed = 31036;
constexpr int LoadFailed = 31037;
} // namespace err

// The runtime's own Italian wording for a number ("Impossibile trovare il file" for 53), or a
// generic text for numbers it has no wording for.
std::string describeError(int number);

// A failure with its runtime number and description. Thrown by the platform layer and by the
// conversions; caught by the windows' handlers.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number);
    RuntimeError(int number, const std::string& description);

    int number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    int number_;
    std::string description_;
};

} // namespace brenvik
