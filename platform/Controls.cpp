#include "platform/Controls.h"

#include "platform/Folders.h"
#include "platform/Form.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"
#include "platform/WinPath.h"

#include <algorithm>

namespace brenvik {

// ---- Label

void Label::setAlignment(Align a) {
    alignment_ = a;
    changed(Property::Look);
}

void Label::setAutoSize(bool on) {
    autoSize_ = on;
    changed(Property::Look);
}

void Label::setTransparent(bool on) {
    transparent_ = on;
    changed(Property::Look);
}

void Label::setWordWrap(bool on) {
    wordWrap_ = on;
    changed(Property::Look);
}

// ---- TextBox

int TextBox::editLimit(int shownLength) const {
    const int limit = watchesKeys() || maxLength_ == 0 ? 32767 : maxLength_;
    return std::max(limit, shownLength);
}

const std::string& TextBox::text() const {
    touch();
    return text_;
}

void TextBox::setText(const std::string& text) {
    touch();
    if (text == text_)
        return;
    text_ = text;
    selStart_ = std::min(selStart_, static_cast<int>(utf8::length(text_)));
    changed(Property::Text);
    fire(onChange);
}

bool TextBox::locked() const {
    touch();
    return locked_;
}

void TextBox::setLocked(bool locked) {
    assign(locked_, locked, Property::Locked);
}

int TextBox::selStart() const {
    touch();
    return selStart_;
}

void TextBox::setSelStart(int position) {
    touch();
    assign(selStart_, std::clamp(position, 0, static_cast<int>(utf8::length(text_))), Property::Caret);
}

void TextBox::userKey(int keyCode, const std::string& typed, int shift) {
    if (!reachable())
        return;
    fire(onKeyDown, keyCode, shift);
    if (!locked_) {
        std::string before = utf8::left(text_, static_cast<size_t>(selStart_));
        std::string after = utf8::dropLeft(text_, static_cast<size_t>(selStart_));
        if (keyCode == vk::Back) {
            if (selStart_ > 0) {
                selStart_ -= 1;
                setText(utf8::dropLast(before) + after);
            }
        } else if (keyCode == vk::Delete) {
            if (!after.empty())
                setText(before + utf8::dropLeft(after, 1));
        } else if (!typed.empty() && (maxLength_ == 0 || static_cast<int>(utf8::length(text_)) < maxLength_)) {
            selStart_ += 1;
            setText(before + typed + after);
        }
        changed(Property::Caret);
    }
    fire(onKeyUp, keyCode, shift);
}

void TextBox::userEdit(const std::string& text) {
    if (!reachable() || locked_)
        return;
    selStart_ = static_cast<int>(utf8::length(text));
    setText(text);
}

// ---- OptionButton

bool OptionButton::value() const {
    touch();
    return value_;
}

void OptionButton::setValue(bool on) {
    touch();
    if (on == value_)
        return;
    value_ = on;
    if (on) {
        for (Control* c : form().controls()) {
            if (c != this && c->kind() == ControlKind::OptionButton && c->container() == container()) {
                auto* other = static_cast<OptionButton*>(c);
                if (other->value_) {
                    other->value_ = false;
                    other->changed(Property::Value);
                }
            }
        }
    }
    changed(Property::Value);
    if (on)
        fire(onClick);
}

void OptionButton::userClick() {
    if (reachable())
        setValue(true);
}

// ---- CheckBox

int CheckBox::value() const {
    touch();
    return value_;
}

void CheckBox::setValue(int state) {
    touch();
    if (state != 0 && state != 1)
        throw RuntimeError(err::InvalidPropertyValue);
    if (assign(value_, state, Property::Value))
        fire(onClick);
}

void CheckBox::userClick() {
    if (reachable())
        setValue(value_ == 0 ? 1 : 0);
}

// ---- VScrollBar

void VScrollBar::setRange(int min, int max) {
    touch();
    min_ = min;
    max_ = max;
    value_ = std::clamp(value_, min_, max_);
    changed(Property::Value);
}

void VScrollBar::setChanges(int small, int large) {
    touch();
    smallChange_ = small;
    largeChange_ = large;
}

int VScrollBar::value() const {
    touch();
    return value_;
}

void VScrollBar::setValue(int value) {
    touch();
    if (value < min_ || value > max_)
        throw RuntimeError(err::InvalidPropertyValue);
    if (assign(value_, value, Property::Value))
        fire(onChange);
}

void VScrollBar::userMove(int delta) {
    if (reachable())
        setValue(std::clamp(value_ + delta, min_, max_));
}

void VScrollBar::userLineDown() {
    userMove(smallChange_);
}
void VScrollBar::userLineUp() {
    userMove(-smallChange_);
}
void VScrollBar::userPageDown() {
    userMove(largeChange_);
}
void VScrollBar::userPageUp() {
    userMove(-largeChange_);
}

// ---- CommandButton

void CommandButton::setPicture(const std::string& resource) {
    picture_ = resource;
    changed(Property::Picture);
}

void CommandButton::click() {
    touch();
    fire(onClick);
}

// ---- Shape

void Shape::setColors(Color fill, Color border) {
    fillColor_ = fill;
    borderColor_ = border;
    changed(Property::Look);
}

// ---- Image

const std::string& Image::picture() const {
    touch();
    return picture_;
}

void Image::setPicture(const std::string& resource) {
    assign(picture_, resource, Property::Picture);
}

void Image::setBordered(bool on) {
    bordered_ = on;
    changed(Property::Look);
}

// ---- PictureBox

void PictureBox::cls() {
    touch();
    drawn_.clear();
    changed(Property::Drawing);
}

void PictureBox::print(const std::string& text) {
    touch();
    drawn_ += text;
    changed(Property::Drawing);
}

// ---- DriveList

const std::vector<std::string>& DriveList::entries() const {
    touch();
    return entries_;
}

int DriveList::currentIndex() const {
    const std::string& current = drive();
    auto it = std::find(entries_.begin(), entries_.end(), current);
    return it == entries_.end() ? -1 : static_cast<int>(it - entries_.begin());
}

void DriveList::refresh() {
    touch();
    entries_.clear();
    for (const DriveInfo& d : readAside([this] { return platform().folders.drives(); }))
        entries_.push_back(d.display());
    changed(Property::Items);
}

const std::string& DriveList::drive() const {
    touch();
    return drive_;
}

void DriveList::setDrive(const std::string& drive) {
    touch();
    auto letter = winpath::driveLetter(drive);
    if (!letter && drive.size() == 1)
        letter = winpath::driveLetter(drive + ":");
    if (!letter)
        throw RuntimeError(err::DeviceUnavailable);
    auto match = [&]() -> const std::string* {
        for (const std::string& e : entries_)
            if (winpath::driveLetter(e) == letter)
                return &e;
        return nullptr;
    };
    const std::string* entry = match();
    if (!entry) {
        refresh();
        entry = match();
    }
    if (!entry)
        throw RuntimeError(err::DeviceUnavailable);
    if (*entry == drive_)
        return;
    drive_ = *entry;
    changed(Property::Value);
    fire(onChange);
}

void DriveList::userChoose(int index) {
    if (!reachable() || index < 0 || index >= static_cast<int>(entries_.size()))
        return;
    setDrive(entries_[static_cast<size_t>(index)]);
}

// ---- DirList

const std::string& DirList::path() const {
    touch();
    return path_;
}

void DirList::setPath(const std::string& path, Raise raise) {
    touch();
    std::optional<std::string> folder;
    if (winpath::isBareDrive(path))
        folder = currentFolder(*winpath::driveLetter(path));
    else
        folder = winpath::normalizeFolder(path);
    if (!folder)
        throw RuntimeError(err::PathNotFound);
    platform().folders.checkFolder(*folder);
    if (*folder == path_ && raise == Raise::OnChange)
        return;
    path_ = *folder;
    currentByDrive_[path_[0]] = path_;
    readEntries();
    fire(onChange);
}

std::string DirList::currentFolder(char drive) {
    const char letter = utf8::asciiLower(drive);
    const auto it = currentByDrive_.find(letter);
    if (it != currentByDrive_.end()) {
        try {
            platform().folders.checkFolder(it->second);
            return it->second;
        } catch (const RuntimeError&) {
            // Gone since it was shown: the drive's root stands in for it.
        }
    }
    return std::string(1, letter) + ":\\";
}

const std::vector<DirList::Entry>& DirList::entries() const {
    touch();
    return entries_;
}

int DirList::shownIndex() const {
    if (listIndex_ >= 0)
        return listIndex_;
    int index = -1;
    for (size_t i = 0; i < entries().size(); ++i)
        if (entries_[i].open)
            index = static_cast<int>(i);
    return index;
}

void DirList::refresh() {
    touch();
    readEntries();
}

void DirList::readEntries() {
    entries_.clear();
    listIndex_ = -1;
    if (!path_.empty()) {
        std::string root = path_.substr(0, 3);
        entries_.push_back({root, root, 0, true});
        std::string at = root;
        int level = 1;
        for (const std::string& part : winpath::segments(path_)) {
            at = winpath::join(at, part);
            entries_.push_back({at, part, level++, true});
        }
        try {
            for (const std::string& name : readAside([this] { return platform().folders.folders(path_); }))
                entries_.push_back({winpath::join(path_, name), name, level, false});
        } catch (const RuntimeError&) {
            // An unreadable folder still shows its open levels; the file lists report the failure.
        }
    }
    changed(Property::Items);
}

void DirList::userHighlight(int index) {
    if (!reachable() || index < 0 || index >= static_cast<int>(entries_.size()))
        return;
    listIndex_ = index;
    changed(Property::Selection);
    fire(onClick);
}

void DirList::userOpen(int index) {
    if (!reachable() || index < 0 || index >= static_cast<int>(entries_.size()))
        return;
    try {
        setPath(entries_[static_cast<size_t>(index)].path);
    } catch (const RuntimeError&) {
        showNearestExisting();
    }
}

void DirList::showNearestExisting() {
    // Files of a folder that is gone would stay listed and fail at every click; the level above
    // brings the file lists along through Change.
    std::vector<std::string> levels = winpath::segments(path_);
    for (;;) {
        std::string at = path_.substr(0, 3);
        for (const std::string& level : levels)
            at = winpath::join(at, level);
        try {
            platform().folders.checkFolder(at);
            if (at != path_)
                setPath(at);
            break;
        } catch (const RuntimeError&) {
            if (levels.empty())
                break;
            levels.pop_back();
        }
    }
    readEntries();
}

// ---- FileList

const std::string& FileList::path() const {
    touch();
    return path_;
}

void FileList::setPath(const std::string& path, Raise raise) {
    touch();
    auto folder = winpath::normalizeFolder(path);
    if (!folder)
        throw RuntimeError(err::PathNotFound);
    if (*folder == path_ && raise == Raise::OnChange)
        return;
    read(*folder);
    path_ = *folder;
    selected_.assign(items_.size(), false);
    listIndex_ = -1;
    changed(Property::Items);
    fire(onPathChange);
}

void FileList::read(const std::string& folder) {
    if (!keepsStamps_) {
        items_ = readAside([this, &folder] { return platform().folders.files(folder); });
        stamps_.assign(items_.size(), FileStamp{});
        return;
    }
    std::vector<std::string> names;
    std::vector<FileStamp> stamps;
    for (ListedFile& file : readAside([this, &folder] { return platform().folders.stampedFiles(folder); })) {
        names.push_back(std::move(file.name));
        stamps.push_back(file.stamp);
    }
    items_ = std::move(names);
    stamps_ = std::move(stamps);
}

void FileList::refresh() {
    touch();
    if (path_.empty())
        return;
    read(path_);
    selected_.assign(items_.size(), false);
    listIndex_ = -1;
    changed(Property::Items);
}

int FileList::count() const {
    touch();
    return static_cast<int>(items_.size());
}

const std::string& FileList::item(int index) const {
    touch();
    if (index < 0 || index >= static_cast<int>(items_.size()))
        throw RuntimeError(err::InvalidPropertyValue);
    return items_[static_cast<size_t>(index)];
}

const std::vector<std::string>& FileList::items() const {
    touch();
    return items_;
}

FileStamp FileList::stamp(int index) const {
    touch();
    if (index < 0 || index >= static_cast<int>(stamps_.size()))
        throw RuntimeError(err::InvalidPropertyValue);
    return stamps_[static_cast<size_t>(index)];
}

bool FileList::selected(int index) const {
    touch();
    if (index < 0 || index >= static_cast<int>(items_.size()))
        throw RuntimeError(err::InvalidPropertyValue);
    return selected_[static_cast<size_t>(index)];
}

int FileList::selCount() const {
    touch();
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

void FileList::setSelected(int index, bool on) {
    touch();
    if (index < 0 || index >= static_cast<int>(items_.size()))
        throw RuntimeError(err::InvalidPropertyValue);
    auto i = static_cast<size_t>(index);
    if (selected_[i] == on)
        return;
    if (!multiSelect_ && on)
        std::fill(selected_.begin(), selected_.end(), false);
    selected_[i] = on;
    if (multiSelect_ || on)
        listIndex_ = index;
    else
        listIndex_ = -1;
    changed(Property::Selection);
    fire(onClick);
}

int FileList::listIndex() const {
    touch();
    return listIndex_;
}

std::string FileList::fileName() const {
    touch();
    if (listIndex_ < 0 || !selected_[static_cast<size_t>(listIndex_)])
        return {};
    return items_[static_cast<size_t>(listIndex_)];
}

void FileList::userClickItem(int index) {
    if (!reachable() || index < 0 || index >= static_cast<int>(items_.size()))
        return;
    if (multiSelect_) {
        setSelected(index, !selected_[static_cast<size_t>(index)]);
    } else if (selected_[static_cast<size_t>(index)]) {
        // Clicking the selected item again is still a click.
        fire(onClick);
    } else {
        setSelected(index, true);
    }
}

void FileList::userSelect(const std::vector<bool>& selection, int current) {
    if (!reachable() || selection.size() != items_.size())
        return;
    const auto picked = std::count(selection.begin(), selection.end(), true);
    if (!multiSelect_ && (picked > 1 || (picked == 0 && selCount() > 0))) {
        // No gesture empties a single-selection list of the system's own, or picks two: a
        // toolkit that lets Ctrl+click do it is shown the pick again, and nothing is raised.
        changed(Property::Selection);
        return;
    }
    bool same = selection == selected_ && current == listIndex_;
    selected_ = selection;
    listIndex_ = current;
    if (!same) {
        changed(Property::Selection);
        fire(onClick);
    }
}

} // namespace brenvik
