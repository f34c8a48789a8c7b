#pragma once

#include "shell/MessageSink.h"

#include <QStringList>

// Keeps the messages a window shows, in place of message boxes.
class RecordingMessageSink : public tavrel::MessageSink {
public:
    void Inform(QWidget*, const QString& text) override { notices.append(text); }
    void ReportError(QWidget*, const QString& text) override { errors.append(text); }

    QStringList notices;
    QStringList errors;
};
