#include "ui/charts/ChartImage.h"

#include <QBuffer>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>

namespace tavrel {

QByteArray WidgetImageBytes(QWidget* widget, const QString& file) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(widget->size());
        svg.setViewBox(widget->rect());
        svg.setTitle(widget->windowTitle());
        QPainter painter(&svg);
        widget->render(&painter);
    } else {
        widget->grab().save(&buffer, "PNG");
    }
    return bytes;
}

} // namespace tavrel
