#include "ui/common/HelpViewer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace tavrel {

QString NotFoundPage(const QString& page) {
    return QStringLiteral("<html><head><title>Page not found</title></head><body>"
                          "<h2>Page not found</h2>"
                          "<p>The help page <b>%1</b> could not be found.</p>"
                          "<p><a href=\"contents.html\">Go to the contents</a></p>"
                          "</body></html>")
        .arg(page.toHtmlEscaped());
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    QVariant data = QTextBrowser::loadResource(type, name);
    const bool empty =
        !data.isValid() || (data.typeId() == QMetaType::QByteArray ? data.toByteArray().isEmpty()
                                                                   : data.toString().isEmpty());
    if (type == QTextDocument::HtmlResource && empty)
        return NotFoundPage(name.fileName());
    return data;
}

HelpViewer::HelpViewer(const QUrl& root, QWidget* parent)
    : QWidget(parent, Qt::Window), root_(root), browser_(new HelpBrowser(this)),
      cmdContents_(new QPushButton(tr("&Contents"), this)),
      cmdBack_(new QPushButton(tr("&Back"), this)),
      cmdForward_(new QPushButton(tr("&Forward"), this)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Tavrel Help"));
    // The viewer must not keep the program alive once its own windows are gone.
    setAttribute(Qt::WA_QuitOnClose, false);

    browser_->setObjectName(QStringLiteral("txtPage"));
    browser_->setOpenExternalLinks(true);
    cmdBack_->setEnabled(false);
    cmdForward_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdContents_);
    buttons->addWidget(cmdBack_);
    buttons->addWidget(cmdForward_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    connect(cmdContents_, &QPushButton::clicked, this,
            [this] { ShowPage(QStringLiteral("contents.html")); });
    connect(cmdBack_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(cmdForward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, cmdBack_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, cmdForward_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Tavrel Help")
                                       : QStringLiteral("Tavrel Help - ") + title);
    });

    const int em = fontMetrics().averageCharWidth();
    resize(90 * em, 45 * fontMetrics().height());
}

void HelpViewer::ShowPage(const QString& page) {
    browser_->setSource(root_.resolved(QUrl(page)), QTextDocument::HtmlResource);
}

QUrl HelpViewer::CurrentSource() const {
    return browser_->source();
}

QString HelpViewer::CurrentText() const {
    return browser_->toPlainText();
}

} // namespace tavrel
