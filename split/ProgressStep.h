#pragma once

namespace brenvik {

class MainWindow;

// Moves the main window's progress display on: the fill `barra` widens by `width` and the figure
// `bianco`, read as a number, grows by `figure`.
void advanceProgress(MainWindow& m, int width, int figure);

} // namespace brenvik
