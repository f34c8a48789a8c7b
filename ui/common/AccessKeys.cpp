#include "ui/common/AccessKeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSet>

QChar AccessKeyOf(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toLower();
        ++i; // "&&" is an ampersand, not a key
    }
    return {};
}

QStringList AccessKeyClashes(const QStringList& captions) {
    QSet<QChar> taken;
    QStringList clashes;
    for (const QString& caption : captions) {
        const QChar key = AccessKeyOf(caption);
        if (key.isNull())
            continue;
        if (taken.contains(key))
            clashes << caption;
        taken.insert(key);
    }
    return clashes;
}

QStringList VisibleCaptions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* action : menu.actions())
        if (action->isVisible() && !action->isSeparator())
            captions << action->text();
    return captions;
}

QStringList VisibleCaptions(const QWidget& window) {
    QStringList captions;
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&window) || child->window() != &window)
            continue;
        if (const auto* button = qobject_cast<const QAbstractButton*>(child))
            captions << button->text();
        else if (const auto* label = qobject_cast<const QLabel*>(child); label && label->buddy())
            captions << label->text(); // only a label with a buddy answers to its key
        else if (const auto* box = qobject_cast<const QGroupBox*>(child))
            captions << box->title();
    }
    return captions;
}
