#include "split/PartSizeSelector.h"

#include "mainwindow/MainWindow.h"
#include "platform/Convert.h"
#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace brenvik {

namespace {

int textEnd(const TextBox& box) {
    return static_cast<int>(utf8::length(box.text()));
}

} // namespace

std::optional<int32_t> PartSizeSelector::sizeInBytes(double kilobytes) {
    // The box holds at most six digits, so a part size always fits 32 bits; anything longer
    // (only reachable from code) is the overflow the handlers report.
    return fitInt32(kilobytes * 1024.0);
}

void PartSizeSelector::Text_Change() {
    if (const std::optional<double> typed = strictNumber(m.Text.text())) {
        const std::optional<int32_t> bytes = sizeInBytes(*typed);
        if (!bytes)
            return;
        m.grandezza = *bytes;
    } else {
        // An empty or non-numeric box becomes "0" (running this handler again for it) and the
        // handler carries on, so the box is never left empty.
        m.grandezza = 0;
        m.Text.setText("0");
    }

    m.Option3.setValue(false);
    m.Option4.setValue(false);

    // The box as the nested handlers left it.
    const std::optional<double> typed = strictNumber(m.Text.text());
    if (!typed)
        return;
    const std::optional<int16_t> value = fitInt16(*typed);
    if (value && *value >= m.VScroll1.min() && *value <= m.VScroll1.max())
        m.VScroll1.setValue(*value);
    else
        showNearestOnSpinner(*typed);

    ContaFile();
}

void PartSizeSelector::showNearestOnSpinner(double typed) {
    // Sizes beyond the spinner's range: the spinner shows its nearest end without writing that
    // value back into the box.
    int nearest = typed < m.VScroll1.min() ? m.VScroll1.min() : m.VScroll1.max();
    if (nearest == m.VScroll1.value())
        return;
    quietSpinner_ = true;
    try {
        m.VScroll1.setValue(nearest);
    } catch (...) {
        quietSpinner_ = false;
        throw;
    }
    quietSpinner_ = false;
}

void PartSizeSelector::Text_Click() {
    m.Text.setSelStart(textEnd(m.Text));
}

void PartSizeSelector::Text_KeyDown(int keyCode, int) {
    m.Text.setSelStart(textEnd(m.Text));
    const bool boxIsZero = leadingNumber(m.Text.text()) == 0;

    const bool keypadDigit = keyCode >= vk::Numpad0 && keyCode <= vk::Numpad9;
    if (keyCode == vk::Back || keypadDigit) {
        if (boxIsZero && keyCode != vk::Back) {
            // The digit replaces the "0"; the box stays locked so the keystroke adds nothing.
            m.Text.setText(std::string(1, static_cast<char>(keyCode - 48)));
            return;
        }
        m.Text.setLocked(false);
    }

    if (keyCode >= vk::Digit0 && keyCode <= vk::Digit9) {
        if (boxIsZero) {
            m.Text.setText(std::string(1, static_cast<char>(keyCode)));
            return;
        }
        m.Text.setLocked(false);
    }
}

void PartSizeSelector::Text_KeyUp(int, int) {
    m.Text.setSelStart(textEnd(m.Text));
    m.Text.setLocked(true);
    if (const std::optional<double> typed = strictNumber(m.Text.text())) {
        if (const std::optional<int32_t> bytes = sizeInBytes(*typed)) {
            m.grandezza = *bytes;
            return;
        }
        m.platform().msgBox("Numero troppo elevato", mb::OK);
        m.Text.setText(utf8::dropLast(m.Text.text()));
    }
    ContaFile();
}

void PartSizeSelector::VScroll1_Change() {
    if (quietSpinner_)
        return;
    m.Text.setText(formatWhole(m.VScroll1.value()));
    ContaFile();
}

void PartSizeSelector::preset(int kilobytes, OptionButton& option) {
    m.Text.setText(formatWhole(kilobytes));
    option.setValue(true);
    // Both presets lie inside the spinner's range.
    m.VScroll1.setValue(kilobytes);
}

void PartSizeSelector::Option3_Click() {
    preset(500, m.Option3);
}

void PartSizeSelector::Option4_Click() {
    preset(1024, m.Option4);
}

void PartSizeSelector::ContaFile() {
    // Every statement stands on its own: one that cannot be evaluated (an unreadable box, a
    // division by a zero size) is skipped and the label keeps what an earlier one gave it.
    std::optional<double> t = strictNumber(m.Text.text());
    const double n = static_cast<double>(m.dimensione);
    auto show = [this](double count) { m.numfile.setCaption(formatNumber(count)); };
    if (!t)
        return;
    const double p = *t * 1024.0;

    if (p < n) {
        if (p != 0) {
            double ratio = n / p;
            show(ratio == std::floor(ratio) ? ratio : std::floor(ratio) + 1);
        }
    } else {
        show(0);
    }
    if (p == n)
        show(1);
    if (*t == 0)
        show(0);
    if (p > n)
        show(0);
}

} // namespace brenvik
