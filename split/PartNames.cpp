#include "split/PartNames.h"

#include "split/SplitReport.h"

namespace brenvik {

std::string threeDigits(int number) {
    const char digits[] = {static_cast<char>('0' + number / 100 % 10), static_cast<char>('0' + number / 10 % 10),
                           static_cast<char>('0' + number % 10)};
    return std::string(digits, 3);
}

Extensions progressiveExtensions() {
    Extensions out;
    for (int number = 0; number < 1000; ++number)
        out[static_cast<size_t>(number)] = threeDigits(number);
    return out;
}

std::string partName(const std::string& prefix, const Extensions& estensioni, int32_t i) {
    return prefix + estensioni[static_cast<size_t>(i)];
}

bool PartNames::Ext(const std::string& filesel, std::string& prefisso, Extensions& estensioni) {
    if (filesel.empty()) {
        report_.setStatus("Nessun File selezionato!");
        return false;
    }
    prefisso = filesel + ".";
    report_.setStatus("Genero estensioni progressive...");
    report_.advance(800, 20);

    estensioni = progressiveExtensions();

    report_.setStatus(report_.status() + " OK");
    report_.advance(800, 20);
    return true;
}

} // namespace brenvik
