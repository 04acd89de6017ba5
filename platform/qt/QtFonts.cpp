#include "platform/qt/QtFonts.h"

#include <QStringList>

namespace brenvik {

namespace {

// In order of closeness to the narrow dialog font the windows were laid out with: the first
// face the host has wins.
const QStringList& dialogFaces() {
    static const QStringList faces{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial"),
                                   QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")};
    return faces;
}

const QStringList& fixedFaces() {
    static const QStringList faces{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                                   QStringLiteral("Noto Mono"), QStringLiteral("Nimbus Mono PS")};
    return faces;
}

bool isFixedFace(const QString& face) {
    return face.compare(QLatin1String("Fixedsys"), Qt::CaseInsensitive) == 0 ||
           face.compare(QLatin1String("Terminal"), Qt::CaseInsensitive) == 0 ||
           face.startsWith(QLatin1String("Courier"), Qt::CaseInsensitive);
}

bool isDialogFace(const QString& face) {
    return face.isEmpty() || face.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0;
}

} // namespace

QFont toQFont(const Font& font) {
    QString face = QString::fromStdString(font.face);
    QFont result;
    if (isFixedFace(face)) {
        result.setFamilies(fixedFaces());
        result.setStyleHint(QFont::Monospace);
        result.setFixedPitch(true);
    } else if (isDialogFace(face)) {
        result.setFamilies(dialogFaces());
        result.setStyleHint(QFont::SansSerif);
    } else {
        QStringList faces{face};
        faces += dialogFaces();
        result.setFamilies(faces);
        result.setStyleHint(QFont::SansSerif);
    }
    result.setPointSize(font.points > 0 ? font.points : 8);
    result.setBold(font.bold);
    return result;
}

} // namespace brenvik
