// Keystrokes and clicks on the part-size controls, one action per byte, after the first eight
// bytes choose the selected file's size.
#include "FuzzApp.h"
#include "support/PartSizeDriver.h"

#include <cstring>

using namespace brenvik;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::FuzzApp* app = [] {
        auto* a = new fuzz::FuzzApp;
        a->files.names = {"file.bin"};
        a->main->list.refresh();
        return a;
    }();
    MainWindow& m = *app->main;
    uint64_t length = 0;
    if (size >= 8) {
        std::memcpy(&length, data, 8);
        data += 8;
        size -= 8;
    }
    // Up to 64 GiB, so that both counts below and above a thousand parts come up.
    app->files.size = static_cast<int64_t>(length % (int64_t{64} << 30));
    m.list.userClickItem(0);
    m.Text.setText("500");
    fuzz::require(!partsize::inconsistency(m), "after selecting the file: " + partsize::inconsistency(m).value_or(""));
    for (size_t i = 0; i < size; ++i) {
        partsize::act(m, data[i]);
        auto wrong = partsize::inconsistency(m);
        fuzz::require(!wrong, wrong.value_or(""));
    }
    return 0;
}
