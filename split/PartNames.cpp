#include "split/PartNames.h"

#include "mainwindow/MainWindow.h"
#include "split/ProgressStep.h"

#include <cstdint>

namespace brenvik {

std::string threeDigits(int number) {
    const char digits[] = {static_cast<char>('0' + number / 100 % 10), static_cast<char>('0' + number / 10 % 10),
                           static_cast<char>('0' + number % 10)};
    return std::string(digits, 3);
}

bool PartNames::Ext(const std::string& filesel) {
    if (filesel.empty()) {
        m.infolabel.setCaption("Nessun File selezionato!");
        return false;
    }
    m.prefisso = filesel + ".";
    m.infolabel.setCaption("Genero estensioni progressive...");
    advanceProgress(m, 800, 20);

    int16_t counter = 0;
    for (char hundreds = 0; hundreds < 10; ++hundreds)
        for (char tens = 0; tens < 10; ++tens)
            for (char units = 0; units < 10; ++units)
                m.estensioni[static_cast<size_t>(counter++)] = {
                    static_cast<char>('0' + hundreds), static_cast<char>('0' + tens), static_cast<char>('0' + units)};

    m.infolabel.setCaption(m.infolabel.caption() + " OK");
    advanceProgress(m, 800, 20);
    return true;
}

} // namespace brenvik
