#pragma once

namespace brenvik {

class MainWindow;

// The two modes, the join-mode counter and the automatic detection of a run of parts.
class JoinMode {
public:
    explicit JoinMode(MainWindow& main) : m(main) {}

    // Split mode: hides the join panel, empties the progress display and asks for a file.
    void Option1_Click();
    // Join mode: shows the join panel over the split panel, disables the split controls, clears
    // both lists' selections and runs the detection on the folder shown.
    void Option2_Click();
    // Every change of File2's selection, made by the user or by code: in join mode Label5 counts
    // the selected items and the list's tooltip names its current item. Nothing in split mode.
    void File2_Click();
    // Selects the run of parts "000", "001", ... in File2's order, all under the base name of its
    // part 000, sets `nomebase` to that name (empty when nothing matched) and, when the counter
    // shows any selection, says how many were found and gives the focus to `uniscifile`.
    void Trova();

private:
    MainWindow& m;
};

} // namespace brenvik
