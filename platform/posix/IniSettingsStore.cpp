#include "platform/posix/IniSettingsStore.h"

#include "platform/HostFiles.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace brenvik {

namespace {

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> readLines(const std::string& path, bool* unreadable = nullptr) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    if (unreadable)
        *unreadable = !in && ::access(path.c_str(), F_OK) == 0;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool isSection(const std::string& line, std::string* name) {
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    *name = trim(t.substr(1, t.size() - 2));
    return true;
}

bool isEntry(const std::string& line, std::string* key, std::string* value) {
    size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    *key = trim(line.substr(0, eq));
    *value = line.substr(eq + 1);
    return !key->empty();
}

void makeFolders(const std::string& folder) {
    for (size_t i = 1; i <= folder.size(); ++i)
        if (i == folder.size() || folder[i] == '/')
            ::mkdir(folder.substr(0, i).c_str(), 0700);
}

bool writeDurably(const std::string& path, const std::string& content) {
    try {
        SaveFile file(path, {.mode = 0600});
        file.file().write(content.data(), content.size());
        file.commit(Existing::Replace);
        syncHostFolder(path.substr(0, path.find_last_of('/')));
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

} // namespace

IniSettingsStore::IniSettingsStore(std::string folder, std::chrono::milliseconds bound)
    : folder_(std::move(folder)), bound_(bound) {}

std::string IniSettingsStore::defaultFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/brenvik";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.config/brenvik";
}

std::string IniSettingsStore::filePath(const std::string& application) const {
    return folder_ + "/" + application + ".ini";
}

std::string IniSettingsStore::read(const std::string& application, const std::string& section, const std::string& key,
                                   const std::string& defaultValue) {
    if (auto it = unsaved_.find(settingsId(application, section, key)); it != unsaved_.end())
        return it->second;
    std::string wantSection = utf8::asciiLower(section);
    std::string wantKey = utf8::asciiLower(key);
    bool inSection = false;
    for (const std::string& line : readLines(filePath(application))) {
        std::string name, k, v;
        if (isSection(line, &name))
            inSection = utf8::asciiLower(name) == wantSection;
        else if (inSection && isEntry(line, &k, &v) && utf8::asciiLower(k) == wantKey)
            return v;
    }
    return defaultValue;
}

namespace {

// Sets `key` of `section` to `value` in the file's lines: in place where the entry stands, after
// the section's last entry where it does not, in a new section at the end where neither does.
void setEntry(std::vector<std::string>& lines, const std::string& section, const std::string& key,
              const std::string& value) {
    std::string wantSection = utf8::asciiLower(section);
    std::string wantKey = utf8::asciiLower(key);
    bool inSection = false;
    bool done = false;
    long sectionEnd = -1; // index after the last line of the wanted section
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        std::string name, k, v;
        if (isSection(lines[i], &name)) {
            inSection = utf8::asciiLower(name) == wantSection;
            if (inSection)
                sectionEnd = static_cast<long>(i) + 1;
        } else if (inSection) {
            if (isEntry(lines[i], &k, &v) && utf8::asciiLower(k) == wantKey) {
                lines[i] = k + "=" + value;
                done = true;
            } else if (!trim(lines[i]).empty()) {
                sectionEnd = static_cast<long>(i) + 1;
            }
        }
    }
    if (!done) {
        if (sectionEnd >= 0) {
            lines.insert(lines.begin() + sectionEnd, key + "=" + value);
        } else {
            if (!lines.empty() && !trim(lines.back()).empty())
                lines.emplace_back();
            lines.push_back("[" + section + "]");
            lines.push_back(key + "=" + value);
        }
    }
}

} // namespace

void IniSettingsStore::save(const std::string& application, const std::string& section, const std::string& key,
                            const std::string& value) {
    // A line break would end the entry early; single-line boxes cannot type one anyway.
    std::string clean;
    for (char c : value)
        if (c != '\r' && c != '\n')
            clean += c;

    makeFolders(folder_);
    // Another program may save at the same moment: each reads, changes and writes the file in
    // turn, so that neither loses what the other saved.
    std::unique_ptr<FolderLock> lock;
    const auto giveUp = std::chrono::steady_clock::now() + bound_;
    bool waited = false;
    try {
        lock = lockHostFolder(folder_, [&] {
            if (std::chrono::steady_clock::now() > giveUp)
                throw RuntimeError(err::FileAlreadyOpen);
            waited = true;
            if (waiting_)
                waiting_(Wait::Waiting);
        });
    } catch (const RuntimeError& e) {
        // Held elsewhere for long, or not to be opened: saved now, the file could lose the other
        // program's change. The value is kept for this run instead.
        unsaved_[settingsId(application, section, key)] = clean;
        if (waited && waiting_)
            waiting_(e.number() == err::FileAlreadyOpen ? Wait::GaveUp : Wait::Over);
        return;
    }
    if (waited && waiting_)
        waiting_(Wait::Over);
    bool unreadable = false;
    std::vector<std::string> lines = readLines(filePath(application), &unreadable);
    std::string id = settingsId(application, section, key);
    if (unreadable) {
        // Rewritten from nothing, a file that exists but cannot be read would lose every other
        // setting it holds: the value is kept for this run instead.
        unsaved_[id] = clean;
        return;
    }
    setEntry(lines, section, key, clean);
    std::string content;
    for (const std::string& l : lines)
        content += l + "\n";
    if (writeDurably(filePath(application), content))
        unsaved_.erase(id);
    else
        unsaved_[id] = clean;
}

} // namespace brenvik
