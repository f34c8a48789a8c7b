#include "shell/frmSplash2.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kShowMainAfterMs = 1000;
constexpr int kCloseAfterMs = 3000;

QFrame* Line(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmSplash2::frmSplash2(std::function<void()> showMainWindow, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      showMainWindow_(std::move(showMainWindow)), Timer1(new QTimer(this)),
      Timer2(new QTimer(this)) {
    setObjectName("frmSplash2");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* product = new QLabel(QStringLiteral("Tavrel"), this);
    product->setObjectName("lblProductName");
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 3);
    big.setBold(true);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("2.0"), this);
    version->setObjectName("lblVersion");
    version->setAlignment(Qt::AlignCenter);

    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(40, 24, 40, 24);
    inner->addWidget(Line(frame));
    inner->addWidget(product);
    inner->addWidget(version);
    inner->addWidget(Line(frame));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);

    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kShowMainAfterMs);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmSplash2::Timer1_Timer);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(kCloseAfterMs);
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, &frmSplash2::Timer2_Timer);
}

frmSplash2::~frmSplash2() {
    if (waitCursor_)
        QApplication::restoreOverrideCursor();
}

void frmSplash2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    if (!waitCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
    }
    if (!Timer2->isActive() && !Timer1->isActive()) {
        Timer1->start();
        Timer2->start();
    }
}

void frmSplash2::Timer1_Timer() {
    showMainWindow_();
    raise(); // the splash stays in front until it closes
}

void frmSplash2::Timer2_Timer() {
    if (waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
    Timer1->stop();
    close();
}
