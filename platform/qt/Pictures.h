#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <string>

namespace brenvik::pictures {

// The embedded file of a picture resource ("banner" -> ":/resources/banner.svg"), or an empty
// text when there is no such picture. The one place that maps the windows' picture names.
QString path(const std::string& id);

// The picture at its natural size in logical pixels (an SVG's own width and height), drawn at the
// screens' device pixel ratio; a null pixmap when the id names no picture.
QPixmap natural(const std::string& id);
QSize naturalSize(const std::string& id);

// The picture drawn at `size` logical pixels, at the screens' device pixel ratio.
QPixmap sized(const std::string& id, QSize size);

// An icon holding the picture at 16 x 16 up to 64 x 64 device pixels (a separate "<id>_16"
// drawing, when there is one, serves the smallest size); a null icon for no picture.
QIcon icon(const std::string& id);

} // namespace brenvik::pictures
