#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

class QPushButton;

namespace tavrel {

// The browser of the help viewer: a page that cannot be loaded shows a "not found" page in
// its place instead of an empty view.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& name) override;
};

// Tavrel's help window: HTML pages in a browser with Contents, Back and Forward. It lives on its
// own, beside the program's windows, and does not keep the program running when they close.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // `root` is the folder (or resource folder) the pages are in, as a URL ending in "/".
    explicit HelpViewer(const QUrl& root, QWidget* parent = nullptr);

    // Shows a page of the root folder ("contents.html").
    void ShowPage(const QString& page);

    QUrl CurrentSource() const;
    QString CurrentText() const;

private:
    QUrl root_;
    HelpBrowser* browser_;
    QPushButton* cmdContents_;
    QPushButton* cmdBack_;
    QPushButton* cmdForward_;
};

// The page shown in place of one that cannot be found.
QString NotFoundPage(const QString& page);

} // namespace tavrel
