#pragma once

#include "control/AppController.h"
#include "control/LibraryFileModule.h"
#include "model/FlowerObjectComposite.h"
#include "model/SceneRoot.h"
#include "support/WorkingDirectory.h"
#include "ui/ApplicationStartup.h"
#include "ui/Autosave.h"
#include "ui/CMainFrame.h"
#include "ui/ShellPrompts.h"

#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// Starts the whole program in an empty working directory (or beside the libraries
// a test puts there first) and shuts it down after the test. Autosaves stay in the
// working directory, and the program's questions are answered without a dialog:
// unsaved changes are discarded and nothing is recovered unless a test answers
// otherwise; `questions` lists what was asked.
class ShellFixture : public ::testing::Test {
protected:
    // Every test starts without recent files and remembered settings, as on a first
    // start.
    ShellFixture() {
        QSettings settings;
        settings.remove(QStringLiteral("Recent File List"));
        settings.remove(QStringLiteral("MainWindow"));
        settings.remove(QStringLiteral("Camera"));
        Autosave::setDirectory(QString::fromStdString(dir.path("data").string()));
        ShellPrompts& prompts = shellPrompts();
        prompts.saveChanges = [this](const QString& name) {
            questions.append(QStringLiteral("Save changes to %1?").arg(name));
            return saveAnswer;
        };
        prompts.recoverAutosave = [this](const QDateTime& when) {
            questions.append(QStringLiteral("Recover from ") + when.toString(Qt::ISODate));
            return false;
        };
        prompts.openReadablePart = [this](const QString& problem) {
            questions.append(problem);
            return false;
        };
    }

    void TearDown() override {
        if (frame)
            shutdownApplication(frame);
        shellPrompts() = ShellPrompts();
        Autosave::setDirectory(QString());
    }

    // Puts the starter library the build made, with its leaf image, where the next
    // start finds it: the program then starts as on a new user's first day.
    void useStarterLibrary() {
        const std::filesystem::path built(PELMORA_STARTER_LIBRARY);
        std::filesystem::copy_file(built, dir.path(LibraryFileModule::kStartupFileName));
        std::filesystem::copy_file(built.parent_path() / "pminit-leaf.bmp",
                                   dir.path("pminit-leaf.bmp"));
    }

    void start(const QString& requestedLibrary = QString()) {
        frame = startApplication(requestedLibrary);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        QApplication::processEvents();
    }

    WorkingDirectory dir;
    std::unique_ptr<CMainFrame> frame;
    QStringList questions;
    ShellPrompts::SaveAnswer saveAnswer = ShellPrompts::SaveAnswer::Discard;
};
