#include "platform/qt/Pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <map>

// The pictures live in a static library, whose resource initialiser the linker would drop unless
// something refers to it; this must be called from the global namespace.
static void initPictureResources() {
    Q_INIT_RESOURCE(pictures);
}

namespace brenvik::pictures {

namespace {

void ensureResources() {
    static const bool done = [] {
        initPictureResources();
        return true;
    }();
    (void)done;
}

// The screens' highest ratio of device pixels to logical ones: 1 on a plain screen, 2 at 200 %.
qreal screenRatio() {
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

// The picture at `size` logical pixels, drawn with `ratio` device pixels to each, so that it
// stays sharp on a scaled screen.
QPixmap render(const QString& file, QSize size, qreal ratio) {
    const QSize device = (QSizeF(size) * ratio).toSize();
    QPixmap pixmap;
    if (file.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer renderer(file);
        if (!renderer.isValid())
            return {};
        pixmap = QPixmap(device);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(device)));
    } else {
        pixmap = QPixmap(file);
        if (pixmap.isNull())
            return pixmap;
        if (pixmap.size() != device)
            pixmap = pixmap.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QString path(const std::string& id) {
    ensureResources();
    if (id.empty())
        return {};
    const QString base = QStringLiteral(":/resources/") + QString::fromStdString(id);
    for (const char* ext : {".svg", ".png"}) {
        QString file = base + QLatin1String(ext);
        if (QFile::exists(file))
            return file;
    }
    return {};
}

QSize naturalSize(const std::string& id) {
    QString file = path(id);
    if (file.isEmpty())
        return {};
    if (file.endsWith(QLatin1String(".svg")))
        return QSvgRenderer(file).defaultSize();
    return QPixmap(file).size();
}

QPixmap natural(const std::string& id) {
    // Images repaint often and always at this size: draw each picture once.
    static std::map<std::string, QPixmap> drawn;
    auto it = drawn.find(id);
    if (it != drawn.end())
        return it->second;
    QString file = path(id);
    QPixmap pixmap = file.isEmpty() ? QPixmap() : render(file, naturalSize(id), screenRatio());
    drawn.emplace(id, pixmap);
    return pixmap;
}

QPixmap sized(const std::string& id, QSize size) {
    QString file = path(id);
    if (file.isEmpty() || size.isEmpty())
        return {};
    return render(file, size, screenRatio());
}

QIcon icon(const std::string& id) {
    QString file = path(id);
    if (file.isEmpty())
        return {};
    // Drawn once for each size in device pixels that an icon of 16 or 32 logical pixels needs up to
    // 200 %; the icon picks the one that fits the screen's ratio.
    QIcon result;
    QString small = path(id + "_16");
    result.addPixmap(render(small.isEmpty() ? file : small, QSize(16, 16), 1.0));
    for (int side : {24, 32, 48, 64})
        result.addPixmap(render(file, QSize(side, side), 1.0));
    return result;
}

} // namespace brenvik::pictures
