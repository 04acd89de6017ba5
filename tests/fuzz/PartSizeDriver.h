#pragma once

#include "mainwindow/MainWindow.h"

#include <optional>
#include <string>

namespace brenvik::partsize {

// What a user can do to the part-size controls, one action per byte: keys (digits of both rows,
// Backspace, Delete, letters, signs, a point, blanks, arrows and modifiers, with the text each
// one types) and the clicks on the box, the spinner's arrows and the presets.
inline void act(MainWindow& m, unsigned char choice) {
    struct Key {
        int code;
        const char* typed;
    };
    static const Key keys[] = {
        {'0', "0"}, {'1', "1"}, {'2', "2"}, {'5', "5"}, {'9', "9"}, {96, "0"},  {97, "1"},  {101, "5"}, {105, "9"},
        {8, ""},    {8, ""},    {46, ""},   {'A', "a"}, {'E', "E"}, {32, " "},  {189, "-"}, {190, "."}, {187, "+"},
        {37, ""},   {39, ""},   {36, ""},   {35, ""},   {16, ""},   {17, ""},   {13, ""},   {9, "\t"},  {'7', "7"},
        {'3', "3"}, {99, "3"},  {'8', "8"}, {'0', "0"}, {96, "0"},  {'1', "1"}, {222, "è"}, {'4', "4"}, {'6', "6"},
    };
    constexpr unsigned keyCount = sizeof keys / sizeof keys[0];
    const unsigned c = choice % (keyCount + 6);
    if (c < keyCount)
        m.Text.userKey(keys[c].code, keys[c].typed);
    else if (c == keyCount)
        m.Text.userClick();
    else if (c == keyCount + 1)
        m.VScroll1.userLineUp();
    else if (c == keyCount + 2)
        m.VScroll1.userLineDown();
    else if (c == keyCount + 3)
        m.Option3.userClick();
    else if (c == keyCount + 4)
        m.Option4.userClick();
    else
        m.Text.userKey(vk::Back, "");
}

// Nothing when the box holds a whole number of 0 to 999999 written plainly, `grandezza` is its
// size in bytes, the spinner shows it (or its nearest end) and the count is the parts of the
// selected file at that size; else what is wrong.
inline std::optional<std::string> inconsistency(MainWindow& m) {
    const std::string& text = m.Text.text();
    const bool plain = text == "0" || (!text.empty() && text.size() <= 6 && text[0] >= '1' && text[0] <= '9' &&
                                       text.find_first_not_of("0123456789") == std::string::npos);
    if (!plain)
        return "box holds \"" + text + "\"";
    const int64_t kb = std::stoll(text);
    if (m.grandezza != kb * 1024)
        return "grandezza " + std::to_string(m.grandezza) + " for \"" + text + "\"";
    const int64_t spinner = std::min<int64_t>(kb, m.VScroll1.max());
    if (m.VScroll1.value() != spinner)
        return "spinner " + std::to_string(m.VScroll1.value()) + " for \"" + text + "\"";
    const int64_t n = m.dimensione;
    const int64_t p = kb * 1024;
    const int64_t count = p == 0 || p > n ? 0 : (n + p - 1) / p;
    if (m.numfile.caption() != std::to_string(count))
        return "count " + m.numfile.caption() + " for \"" + text + "\" and " + std::to_string(n) + " bytes";
    if (!m.Text.locked())
        return "box left unlocked";
    return std::nullopt;
}

} // namespace brenvik::partsize
