#include "platform/qt/Pictures.h"

#include <QFile>
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

QPixmap render(const QString& file, QSize size) {
    if (file.endsWith(QLatin1String(".svg"))) {
        QSvgRenderer renderer(file);
        if (!renderer.isValid())
            return {};
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        return pixmap;
    }
    QPixmap pixmap(file);
    if (pixmap.isNull() || pixmap.size() == size)
        return pixmap;
    return pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
    QPixmap pixmap = file.isEmpty() ? QPixmap() : render(file, naturalSize(id));
    drawn.emplace(id, pixmap);
    return pixmap;
}

QPixmap sized(const std::string& id, QSize size) {
    QString file = path(id);
    if (file.isEmpty() || size.isEmpty())
        return {};
    return render(file, size);
}

QIcon icon(const std::string& id) {
    QString file = path(id);
    if (file.isEmpty())
        return {};
    QIcon result;
    QString small = path(id + "_16");
    result.addPixmap(render(small.isEmpty() ? file : small, QSize(16, 16)));
    result.addPixmap(render(file, QSize(32, 32)));
    return result;
}

} // namespace brenvik::pictures
