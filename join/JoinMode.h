#pragma once

namespace brenvik {

class MainWindow;

// The two modes, the join-mode counter and the automatic detection of a run of parts.
class JoinMode {
public:
    explicit JoinMode(MainWindow& main) : m(main) {}

    void Option1_Click();
    void Option2_Click();
    void File2_Click();
    void Trova();

private:
    MainWindow& m;
};

} // namespace brenvik
