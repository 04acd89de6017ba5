#pragma once

#include <functional>

namespace brenvik {

class Label;

// Where the front ends place a control once the host's fonts and style are known. A window is
// laid out for one font and one look; these rules keep every text readable with whatever the
// host draws instead, the same way in every toolkit. The toolkit measures, these decide.

// A rectangle in a toolkit's pixels, relative to the container.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// A caption as the toolkit draws it in the control's font: whether there is none, its widest
// line and all its lines' height, the height of one line, and the line spacing below which a
// label holds one line only.
struct TextMeasure {
    bool empty = false;
    int width = 0;
    int height = 0;
    int lineHeight = 0;
    int lineSpacing = 0;
};

struct LabelPlace {
    PixelRect rect;
    // Whether the toolkit wraps the caption at the label's width.
    bool wraps = false;
};

// A label sized to its text takes its caption's width (none when the caption is empty) and at least
// its height. A label laid out for one line keeps its caption on that line and grows sideways,
// on the side its alignment leaves free, by what the caption lacks. Any other label keeps its
// width and, when it wraps, grows downwards to `wrappedHeight(width)`, which is asked for only
// then.
LabelPlace placeLabel(const Label& label, PixelRect designed, const TextMeasure& text,
                      const std::function<int(int width)>& wrappedHeight);

// An option button or check box is never narrower than `needed` (indicator and caption side by
// side) and grows about its middle to the style's height, so that neither is cut.
PixelRect placeIndicatorButton(PixelRect designed, int neededWidth, int neededHeight);

// An image that is not stretched is never smaller than its picture.
PixelRect placeImage(PixelRect designed, int pictureWidth, int pictureHeight);

} // namespace brenvik
