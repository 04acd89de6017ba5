#pragma once

#include <cstdint>
#include <optional>

namespace brenvik {

class MainWindow;
class OptionButton;

// The part-size box, its spinner and presets, kept consistent with `grandezza`, and the part
// count `numfile`. Assigning the box, the spinner or a preset from code runs the same handlers
// as the user's action, nested; the handlers rely on that to keep one another in step.
class PartSizeSelector {
public:
    explicit PartSizeSelector(MainWindow& main) : m(main) {}

    // Any change of the box's text: `grandezza`, both presets cleared, the spinner, the count.
    // Sizes beyond the spinner's range move the spinner to its nearest end without writing
    // that value back into the box.
    void Text_Change();
    // A click in the box puts the caret at the end.
    void Text_Click();
    // Unlocks the locked box for exactly the keystrokes that may edit it: Backspace and digits;
    // a digit typed on "0" replaces it.
    void Text_KeyDown(int keyCode, int shift);
    // Locks the box again and takes its size; an oversized number shows "Numero troppo elevato"
    // and loses its last digit.
    void Text_KeyUp(int keyCode, int shift);
    void VScroll1_Change();
    // The "500 KB" and "1 MG" presets.
    void Option3_Click();
    void Option4_Click();
    // The number of parts the selected file gives at the current size, "0" when the split
    // would refuse it (no file, size 0, size above the file's).
    void ContaFile();

private:
    // A size typed in kilobytes, in bytes; nothing when it does not fit 32 bits.
    static std::optional<int32_t> sizeInBytes(double kilobytes);
    void showNearestOnSpinner(double typed);
    void preset(int kilobytes, OptionButton& option);

    MainWindow& m;
    // Set while the spinner only shows the nearest value of an out-of-range size.
    bool quietSpinner_ = false;
};

} // namespace brenvik
