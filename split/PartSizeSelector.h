#pragma once

namespace brenvik {

class MainWindow;

// The part-size box, its spinner and presets, kept consistent with `grandezza`, and the part
// count `numfile`.
class PartSizeSelector {
public:
    explicit PartSizeSelector(MainWindow& main) : m(main) {}

    void Text_Change();
    void Text_Click();
    void Text_KeyDown(int keyCode, int shift);
    void Text_KeyUp(int keyCode, int shift);
    void VScroll1_Change();
    void Option3_Click();
    void Option4_Click();
    void ContaFile();

private:
    MainWindow& m;
};

} // namespace brenvik
