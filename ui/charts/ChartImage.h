#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace tavrel {

// The widget drawn as an image file's bytes: SVG when `file` ends in .svg (any case), otherwise
// PNG.
QByteArray WidgetImageBytes(QWidget* widget, const QString& file);

} // namespace tavrel
