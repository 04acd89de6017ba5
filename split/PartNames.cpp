#include "split/PartNames.h"

#include "split/SplitReport.h"

#include <cstdint>

namespace brenvik {

std::string threeDigits(int number) {
    const char digits[] = {static_cast<char>('0' + number / 100 % 10), static_cast<char>('0' + number / 10 % 10),
                           static_cast<char>('0' + number % 10)};
    return std::string(digits, 3);
}

bool PartNames::Ext(const std::string& filesel, std::string& prefisso, std::array<std::string, 1000>& estensioni) {
    if (filesel.empty()) {
        report_.setStatus("Nessun File selezionato!");
        return false;
    }
    prefisso = filesel + ".";
    report_.setStatus("Genero estensioni progressive...");
    report_.advance(800, 20);

    int16_t counter = 0;
    for (char hundreds = 0; hundreds < 10; ++hundreds)
        for (char tens = 0; tens < 10; ++tens)
            for (char units = 0; units < 10; ++units)
                estensioni[static_cast<size_t>(counter++)] = {
                    static_cast<char>('0' + hundreds), static_cast<char>('0' + tens), static_cast<char>('0' + units)};

    report_.setStatus(report_.status() + " OK");
    report_.advance(800, 20);
    return true;
}

} // namespace brenvik
