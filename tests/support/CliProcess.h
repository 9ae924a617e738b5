#pragma once

// Runs the built pelmora-cli as a user would, in its own process.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

inline CliRun runProgram(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(PELMORA_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}
