#pragma once

namespace brenvik {

class MainWindow;

// "Unisci": the selected files of File2, in list order, into one new file.
class JoinCommand {
public:
    explicit JoinCommand(MainWindow& main) : m(main) {}

    void uniscifile_Click();

private:
    MainWindow& m;
};

} // namespace brenvik
