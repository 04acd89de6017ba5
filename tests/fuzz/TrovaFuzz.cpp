// The part detection over any folder listing: names separated by line feeds.
#include "FuzzApp.h"
#include "platform/Utf8.h"

#include <cstdio>

using namespace brenvik;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::FuzzApp* app = new fuzz::FuzzApp;
    MainWindow& m = *app->main;

    std::vector<std::string> names;
    std::string name;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == '\n') {
            names.push_back(name);
            name.clear();
        } else {
            name += static_cast<char>(data[i]);
        }
    }
    app->files.names = names;
    m.Option1.userClick();
    m.list.refresh();
    m.File2.refresh();
    m.Option2.userClick();

    // The selection is a run numbered 000, 001, ... (000 again after 999) in list order, and
    // the proposed name is the last part's name without its number.
    int found = 0;
    std::string last;
    for (int i = 0; i < m.File2.count(); ++i) {
        if (!m.File2.selected(i))
            continue;
        char expected[8];
        std::snprintf(expected, sizeof expected, "%03d", found % 1000);
        fuzz::require(utf8::right(m.File2.item(i), 3) == expected, "selected out of sequence: " + m.File2.item(i));
        last = m.File2.item(i);
        ++found;
    }
    fuzz::require(m.nomebase == (found > 0 ? utf8::dropRight(last, 4) : std::string()), "nomebase " + m.nomebase);
    return 0;
}
