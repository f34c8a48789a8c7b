#include "CliRunner.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace tavrel::testing {

CliResult RunCli(const std::string& program, const std::vector<std::string>& args,
                 const CliPlace& place) {
    QStringList arguments;
    for (const std::string& a : args)
        arguments << QString::fromStdString(a);
    QProcess process;
    if (!place.workingFolder.empty())
        process.setWorkingDirectory(QString::fromStdString(place.workingFolder.string()));
    if (!place.tmpDir.empty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", QString::fromStdString(place.tmpDir.string()));
        process.setProcessEnvironment(environment);
    }
    process.start(QString::fromStdString(program), arguments);
    CliResult result;
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << program << " did not finish: " << process.errorString().toStdString();
        return result;
    }
    result.status = process.exitCode();
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

} // namespace tavrel::testing
