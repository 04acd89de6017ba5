#include "support/TestApp.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace brenvik {

void clickFile(MainWindow& m, const std::string& name) {
    auto find = [&m, &name] {
        const auto& items = m.list.items();
        auto it = std::find(items.begin(), items.end(), name);
        return it == items.end() ? -1 : static_cast<int>(it - items.begin());
    };
    int index = find();
    if (index < 0) {
        m.list.refresh();
        index = find();
    }
    ASSERT_GE(index, 0) << name << " is not in the list of " << m.list.path();
    m.list.userClickItem(index);
}

} // namespace brenvik
