#pragma once

#include <string>

namespace brenvik {

class SettingsStore;

// The program's six settings under the application "Brenvik", with each reader's default and
// conversion. Defaults are never written back.
class Settings {
public:
    explicit Settings(SettingsStore& store) : store_(store) {}

    struct Key {
        const char* section;
        const char* key;
    };
    static constexpr Key Eseguito{"Primoavvio", "eseguito"};
    static constexpr Key InitialDir{"path", "initialdir"};
    static constexpr Key Destinazione{"Destinazione", "dir"};
    static constexpr Key CartSplit{"opzioni", "cartsplit"};
    static constexpr Key CartUnisci{"opzioni", "cartunisci"};
    static constexpr Key About{"opzioni", "about"};

    static constexpr const char* DefaultInitialDir = "c:\\windows\\desktop";
    static constexpr const char* DefaultDestinazione = "c:\\myfiles";

    std::string text(Key key, const std::string& defaultValue) const;
    void save(Key key, const std::string& value) const;

    // Leading number of the stored text (0 when it has none).
    double leadingNumber(Key key, int defaultValue) const;
    // A numeric text is true when not 0; text that is neither a number nor a truth word counts
    // as the default.
    bool truth(Key key, int defaultValue) const;
    // A check box state, 0 or 1; any other stored text counts as the default.
    int checkState(Key key, int defaultValue) const;

    // The six, as their readers take them.
    bool firstRun() const { return leadingNumber(Eseguito, 0) == 0; }
    std::string initialDir() const { return text(InitialDir, DefaultInitialDir); }
    // An empty destination stands for the source's own folder. Any other without a drive letter
    // (edited by hand) names no folder any window can reach: the default stands in for it.
    std::string destination() const;
    bool openAfterSplit() const { return truth(CartSplit, 0); }
    bool openAfterJoin() const { return truth(CartUnisci, 1); }
    bool showStartupPicture() const { return truth(About, 1); }

private:
    SettingsStore& store_;
};

} // namespace brenvik
