#include "platform/Folders.h"

#include "platform/Utf8.h"

#include <algorithm>

namespace brenvik {

bool nameLess(const std::string& a, const std::string& b) {
    // Compared in place: a folder of thousands of names is sorted at every folder change.
    auto fold = [](char c) { return static_cast<unsigned char>(utf8::asciiLower(c)); };
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = fold(a[i]);
        unsigned char y = fold(b[i]);
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

} // namespace brenvik
