// Stored settings as a user may leave them: the input is a whole settings file. Every reader's
// conversion takes whatever it holds, and a value saved into it reads back exactly.
#include "app/Settings.h"
#include "platform/Convert.h"
#include "platform/posix/IniSettingsStore.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace brenvik;

namespace {

void require(bool holds, const std::string& what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = [] {
        // Memory-backed where there is one: every save syncs the file and its folder.
        char pattern[] = "/dev/shm/brenvik-fuzz-XXXXXX";
        char fallback[] = "/tmp/brenvik-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made)
            made = ::mkdtemp(fallback);
        require(made != nullptr, "no temporary folder");
        return std::string(made);
    }();
    IniSettingsStore store(folder);
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        FILE* f = std::fopen(store.filePath("Brenvik").c_str(), "wb");
        require(f != nullptr, "cannot write the settings file");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }

    // The conversions on the raw text, and every reader on the file.
    const double lead = leadingNumber(text);
    require(!std::isnan(lead), "leading number NaN");
    if (auto strict = strictNumber(text))
        require(std::isfinite(*strict), "strict number not finite");
    (void)truthValue(text);
    (void)formatNumber(lead);
    Settings s(store);
    (void)s.firstRun();
    (void)s.initialDir();
    (void)s.destination();
    (void)s.openAfterSplit();
    (void)s.openAfterJoin();
    (void)s.showStartupPicture();
    for (Settings::Key k : {Settings::CartSplit, Settings::CartUnisci, Settings::About}) {
        const int state = s.checkState(k, 1);
        require(state == 0 || state == 1, "check box state " + std::to_string(state));
    }

    // A value saved into whatever the file holds reads back as saved (line breaks dropped), and
    // the other keys keep what they read before.
    const std::string before = s.initialDir();
    const std::string value = text.substr(0, 40);
    s.save(Settings::Destinazione, value);
    std::string expected;
    for (char c : value)
        if (c != '\r' && c != '\n')
            expected += c;
    require(IniSettingsStore(folder).read("Brenvik", "Destinazione", "dir", "?") == expected,
            "saved value not read back");
    require(s.initialDir() == before, "another key changed by a save");
    return 0;
}
