#include "ui/publish/SheetPainter.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>

tavrel::PageSize PrinterPageSize(const QPrinter& printer) {
    const QSizeF points = printer.pageLayout().fullRectPoints().size();
    return {"Printer", points.width(), points.height()};
}

void PaintPages(const tavrel::PageLayout& layout, QPrinter& printer) {
    printer.setFullPage(true); // the layout measures from the paper's corner
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    // Points to device pixels; fonts are sized in points and need no scaling of their own.
    const double sx = printer.logicalDpiX() / 72.0;
    const double sy = printer.logicalDpiY() / 72.0;
    QFont regular(QStringLiteral("Helvetica"));
    regular.setStyleHint(QFont::Helvetica);
    QFont bold = regular;
    bold.setBold(true);
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        if (i > 0)
            printer.newPage();
        const tavrel::Page& page = layout.pages[i];
        for (const tavrel::PageBox& box : page.boxes) {
            const int level = int(box.gray * 255);
            painter.fillRect(
                QRectF(box.x * sx, box.y * sy, box.width * sx, std::max(box.height * sy, 1.0)),
                QColor(level, level, level));
        }
        painter.setPen(Qt::black);
        for (const tavrel::PageText& text : page.texts) {
            QFont font = text.style == tavrel::FontStyle::Bold ? bold : regular;
            font.setPointSizeF(text.size);
            painter.setFont(font);
            painter.drawText(QPointF(text.x * sx, text.baseline * sy),
                             QString::fromStdString(text.text));
        }
    }
    painter.end();
}
