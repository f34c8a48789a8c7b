#include "shell/MessageSink.h"

#include "league/LeagueError.h"

#include <QMessageBox>

namespace tavrel {

void QtMessageSink::Inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Tavrel"), text);
}

void QtMessageSink::ReportError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Tavrel"), text);
}

MessageSink& DefaultMessageSink() {
    static QtMessageSink sink;
    return sink;
}

void ReportLeagueError(MessageSink& sink, QWidget* parent, const LeagueError& error) {
    sink.ReportError(parent, QString::fromStdString(error.what()));
}

} // namespace tavrel
