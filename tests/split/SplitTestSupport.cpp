#include "split/SplitTestSupport.h"

#include <gtest/gtest.h>

namespace brenvik::splittest {

Split::Split(const std::string& name, const std::string& bytes, int64_t kb) : name(name), source(bytes) {
    app.drives.makeFolders("c:\\src");
    app.drives.write("c:\\src\\" + name, bytes);
    clickFile(app.startIn("c:\\src"), name);
    setSizeKb(m(), kb);
}

void setSizeKb(MainWindow& m, int64_t kb) {
    m.Text.setText(std::to_string(kb));
}

std::string joinParts(TestDrives& drives, const std::string& prefix, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        std::string ext = std::to_string(1000 + i).substr(1);
        out += drives.read(prefix + ext);
    }
    return out;
}

} // namespace brenvik::splittest
