#include "platform/qt/QtConvert.h"

namespace brenvik {

QString withoutAccessMarks(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

} // namespace brenvik
