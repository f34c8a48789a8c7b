#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

class QMenu;
class QWidget;

// The access key of a caption: the character after a single '&', lower-cased ("Save &Image"
// gives 'i'); null when there is none ("&&" stands for an ampersand).
QChar AccessKeyOf(const QString& caption);

// The captions that take an access key an earlier caption of the list already took.
QStringList AccessKeyClashes(const QStringList& captions);

// What the user sees of a menu: the captions of its visible items.
QStringList VisibleCaptions(const QMenu& menu);

// What the user sees of a window: the captions of its visible buttons, group boxes and
// the labels that lead to a box.
QStringList VisibleCaptions(const QWidget& window);
