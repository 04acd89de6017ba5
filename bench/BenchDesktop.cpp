#include "bench/BenchDesktop.h"

#include "platform/Form.h"
#include "support/UnattendedAnswer.h"

#include <cstdio>
#include <cstdlib>

namespace brenvik {

int BenchDesktop::messageBox(const std::string& text, int flags, const std::string&) {
    boxes.push_back(text);
    return unattendedAnswer(flags);
}

void BenchDesktop::runModal(Form& form) {
    auto it = modalActions.find(form.name());
    if (it != modalActions.end())
        it->second(form);
    if (form.visible()) {
        std::fprintf(stderr, "brenvik-bench: the window %s stayed open\n", form.name().c_str());
        std::exit(3);
    }
}

void BenchDesktop::endProgram() {
    std::fprintf(stderr, "brenvik-bench: the program ended itself\n");
    std::exit(3);
}

} // namespace brenvik
