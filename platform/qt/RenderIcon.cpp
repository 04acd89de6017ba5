// Build tool: draws one of the program's SVG pictures as a square PNG of a given side, for the
// icon theme of the desktop's menus. Usage: brenvik-render-icon picture.svg side out.png
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s picture.svg side out.png\n", argv[0]);
        return 2;
    }
    // The emblem is paths and gradients only: drawing it into an image needs no application
    // object, no display and no fonts.
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const int side = std::atoi(argv[2]);
    if (!renderer.isValid() || side <= 0) {
        std::fprintf(stderr, "%s: cannot draw %s at %s pixels\n", argv[0], argv[1], argv[2]);
        return 1;
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
