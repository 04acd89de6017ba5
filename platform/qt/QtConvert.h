#pragma once

#include "platform/Control.h"

#include <QColor>
#include <QString>
#include <string>

namespace brenvik {

// The model's texts are UTF-8.
inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

inline QColor toQColor(Color c) {
    return QColor(c.r, c.g, c.b);
}

// A caption as it reads: "&x" is the letter alone, "&&" is "&".
QString withoutAccessMarks(const QString& caption);

} // namespace brenvik
