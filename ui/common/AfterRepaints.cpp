#include "ui/common/AfterRepaints.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

const QEvent::Type kRun = static_cast<QEvent::Type>(QEvent::registerEventType());

// Lives until its event arrives, a child of the context so that it goes when the context goes.
class DeferredWork : public QObject {
public:
    DeferredWork(QObject* context, std::function<void()> work)
        : QObject(context), work_(std::move(work)) {}

    bool event(QEvent* event) override {
        if (event->type() != kRun)
            return QObject::event(event);
        const std::function<void()> work = std::move(work_);
        deleteLater();
        work();
        return true;
    }

private:
    std::function<void()> work_;
};

} // namespace

void RunAfterRepaints(QObject* context, std::function<void()> work) {
    auto* deferred = new DeferredWork(context, std::move(work));
    QCoreApplication::postEvent(deferred, new QEvent(kRun), Qt::LowEventPriority - 1);
}
