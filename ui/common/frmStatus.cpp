#include "ui/common/frmStatus.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr qint64 kFrameMs = 16; // no eye sees the bar move faster than a frame
}

frmStatus::frmStatus(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      Label1(new QLabel(QStringLiteral("Please Wait - Loading League"), this)),
      lblFile(new QLabel(this)), ProgressBar1(new QProgressBar(this)) {
    setObjectName("frmStatus");
    setWindowTitle(QStringLiteral("Tavrel"));
    Label1->setObjectName("Label1");
    lblFile->setObjectName("lblFile");
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(lblFile);
    layout->addWidget(ProgressBar1);
    setMinimumWidth(Label1->fontMetrics().horizontalAdvance(Label1->text()) * 2);
}

frmStatus::~frmStatus() {
    if (waitCursor_)
        QApplication::restoreOverrideCursor();
}

void frmStatus::showEvent(QShowEvent* event) {
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    QWidget::showEvent(event);
}

void frmStatus::Begin(const std::string& caption) {
    Label1->setText(QString::fromStdString(caption));
    if (!waitCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
    }
    show();
    raise();
    Repaint();
}

void frmStatus::SetValue(float value) {
    const int shown = std::clamp(static_cast<int>(std::floor(value)), 0, 100);
    if (shown == ProgressBar1->value())
        return;
    ProgressBar1->setValue(shown);
    if (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= kFrameMs)
        Repaint();
}

void frmStatus::End() {
    hide();
    if (waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

void frmStatus::Repaint() {
    ++repaints_;
    sinceRepaint_.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
