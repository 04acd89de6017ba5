#include "platform/SystemCodePage.h"

#include "split/OemCodePage.h"

namespace brenvik::syscp {

int oemCodePage() {
    return 850;
}

std::optional<std::string> toOem(std::string_view utf8) {
    return oem::fromUtf8(utf8);
}

} // namespace brenvik::syscp
