#pragma once

#include "control/AppController.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "support/WorkingDirectory.h"
#include "ui/ApplicationStartup.h"
#include "ui/CMainFrame.h"

#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

// Starts the whole program in an empty working directory (or beside the libraries
// a test puts there first) and shuts it down after the test.
class ShellFixture : public ::testing::Test {
protected:
    // Every test starts without recent files, as on a first start.
    ShellFixture() {
        QSettings settings;
        settings.remove(QStringLiteral("Recent File List"));
        settings.remove(QStringLiteral("MainWindow"));
    }

    void TearDown() override {
        if (frame)
            shutdownApplication(frame);
    }

    void start(const QString& requestedLibrary = QString()) {
        frame = startApplication(requestedLibrary);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        QApplication::processEvents();
    }

    WorkingDirectory dir;
    std::unique_ptr<CMainFrame> frame;
};
