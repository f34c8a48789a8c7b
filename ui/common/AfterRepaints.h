#pragma once

#include <QObject>
#include <functional>

// Runs `work` once the event loop has painted what is waiting to be painted: the window's
// repaints are posted at low priority, and a plain queued call (QTimer::singleShot(0)) would run
// before them. Nothing runs when `context` is gone first.
void RunAfterRepaints(QObject* context, std::function<void()> work);
