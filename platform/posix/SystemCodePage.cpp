#include "platform/SystemCodePage.h"

#include <cerrno>
#include <iconv.h>

namespace brenvik::syscp {

int oemCodePage() {
    return 850;
}

std::optional<std::string> toOem(std::string_view utf8) {
    // glibc's own converter; without //TRANSLIT it refuses what the page has no byte for, as it
    // refuses text that is not UTF-8.
    iconv_t cd = ::iconv_open("CP850", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out(utf8.size(), '\0');        // never more bytes than UTF-8 takes
    char* in = const_cast<char*>(utf8.data()); // iconv's signature; it does not write there
    size_t inLeft = utf8.size();
    char* to = out.data();
    size_t outLeft = out.size();
    const size_t done = ::iconv(cd, &in, &inLeft, &to, &outLeft);
    ::iconv_close(cd);
    if (done == static_cast<size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace brenvik::syscp
