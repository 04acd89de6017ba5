#include "split/ProgressStep.h"

#include "mainwindow/MainWindow.h"
#include "platform/Convert.h"

namespace brenvik {

void advanceProgress(MainWindow& m, int width, int figure) {
    m.setProgress(m.barra.width() + width, formatNumber(leadingNumber(m.bianco.caption()) + figure));
}

} // namespace brenvik
