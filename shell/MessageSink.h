#pragma once

#include <QString>

class QWidget;

namespace tavrel {

class LeagueError;

// How the windows show their OK-only messages. The program uses QtMessageSink; tests put a
// recorder in its place, so no modal loop has to be driven from a test.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A notice such as "Please Enter a Valid Number".
    virtual void Inform(QWidget* parent, const QString& text) = 0;
    // A failed command: the text names the operation, the file and the cause.
    virtual void ReportError(QWidget* parent, const QString& text) = 0;
};

// Message boxes captioned with the application title.
class QtMessageSink : public MessageSink {
public:
    void Inform(QWidget* parent, const QString& text) override;
    void ReportError(QWidget* parent, const QString& text) override;
};

// The sink the windows use when they are given none.
MessageSink& DefaultMessageSink();

// One message for a failed command: operation, file and cause, as LeagueError composes them.
void ReportLeagueError(MessageSink& sink, QWidget* parent, const LeagueError& error);

} // namespace tavrel
