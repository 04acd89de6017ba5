#include "platform/Layout.h"

#include "platform/Controls.h"

#include <algorithm>

namespace brenvik {

LabelPlace placeLabel(const Label& label, PixelRect designed, const TextMeasure& text,
                      const std::function<int(int width)>& wrappedHeight) {
    PixelRect r = designed;
    if (label.autoSize()) {
        r.width = text.empty ? 0 : text.width + 1;
        r.height = std::max(r.height, text.height);
        return {r, false};
    }
    if (r.height < 2 * text.lineSpacing) {
        // Laid out for one line: the host's font may be wider than the one it was laid out for,
        // so the label grows rather than wraps or cuts its text.
        const int extra = text.width + 1 - r.width;
        if (extra > 0) {
            if (label.alignment() == Align::Center)
                r.left -= extra / 2;
            else if (label.alignment() == Align::Right)
                r.left -= extra;
            r.width += extra;
        }
        r.height = std::max(r.height, text.lineHeight);
        return {r, false};
    }
    if (!label.wordWrap())
        return {r, false};
    r.height = std::max(r.height, wrappedHeight(r.width));
    return {r, true};
}

PixelRect placeIndicatorButton(PixelRect designed, int neededWidth, int neededHeight) {
    PixelRect r = designed;
    r.width = std::max(r.width, neededWidth);
    const int extra = neededHeight - r.height;
    if (extra > 0) {
        r.top -= extra / 2;
        r.height += extra;
    }
    return r;
}

PixelRect placeImage(PixelRect designed, int pictureWidth, int pictureHeight) {
    PixelRect r = designed;
    r.width = std::max(r.width, pictureWidth);
    r.height = std::max(r.height, pictureHeight);
    return r;
}

} // namespace brenvik
