#include "ShellFixture.h"

#include "control/LibraryBrowser.h"
#include "control/LibraryFileModule.h"
#include "modes/composite/MouseListenerForComposite.h"
#include "modes/MouseListenerManager.h"
#include "control/Singleton.h"
#include "gl/TOGL.h"
#include "control/Thumbnail.h"
#include "ui/CFlowerLibView.h"
#include "ui/CPelmoraView.h"
#include "ui/ViewManager.h"

#include <QMessageBox>
#include <QProcess>

#include <algorithm>
#include <filesystem>

namespace {

QImage libraryViewPixels(CMainFrame& frame) {
    return frame.libraryView()->grab().toImage();
}

void storeTwoPlantsAndAScene() {
    AppController& c = appController();
    for (int category : {kCategoryFlower, kCategoryComposite})
        c.addToLibrary(std::make_unique<FlowerObjectComposite>(c.nextId()), category);
    c.addScene(std::make_unique<SceneRoot>(c.nextId()));
}

} // namespace

class StartupTest : public ShellFixture {};

TEST_F(StartupTest, AnEmptyDirectoryGivesOnlyNothingTilesModeEightAndAnEmptyView) {
    start();
    AppController& c = appController();
    for (int category = 0; category < kCategoryCount; ++category)
        EXPECT_EQ(libraryBrowser().entryCount(category), 1);
    EXPECT_EQ(c.mode(), kModeComposite);
    EXPECT_EQ(&mouseListenerManager().mainListener(),
              static_cast<MouseListenerState*>(&singleton<MouseListenerForComposite>()));
    EXPECT_EQ(c.workObject(), nullptr);
    EXPECT_EQ(c.nextId(), 1);

    // The pick snapshot of the empty main view holds nothing anywhere.
    c.commit(kChangeMainView);
    TOGL& gl = *viewManager().mainContext();
    for (int y = 0; y < gl.bufferHeight(); y += 50)
        for (int x = 0; x < gl.bufferWidth(); x += 50)
            EXPECT_FALSE(gl.pixelHasObject(x, y).found) << x << "," << y;

    const QImage view = libraryViewPixels(*frame);
    EXPECT_EQ(view.pixel(6 + 35, 6 + 35), nothingTile().pixel(35, 35));
    EXPECT_EQ(view.pixel(6 + 35, 82 + 35), qRgb(255, 255, 255));
}

TEST_F(StartupTest, ALibraryBesideTheProgramIsListedInItsCategories) {
    {
        start();
        storeTwoPlantsAndAScene();
        std::string error;
        ASSERT_TRUE(libraryFileModule().saveLibrary(LibraryFileModule::kStartupFileName, error));
        shutdownApplication(frame);
    }
    start();
    EXPECT_EQ(libraryBrowser().ids(kCategoryFlower), std::vector<int>{1});
    EXPECT_EQ(libraryBrowser().ids(kCategoryComposite), std::vector<int>{2});
    EXPECT_EQ(libraryBrowser().ids(kCategoryScene), std::vector<int>{3});
    EXPECT_EQ(appController().mode(), kModeComposite);
    EXPECT_EQ(appController().workObject(), nullptr);
    EXPECT_EQ(appController().root(), nullptr);
}

TEST_F(StartupTest, ALibraryNamedOnTheCommandLineIsOpenedAfterTheReset) {
    {
        start();
        storeTwoPlantsAndAScene();
        std::string error;
        ASSERT_TRUE(libraryFileModule().saveLibrary(dir.path("mine.pmr").string(), error));
        shutdownApplication(frame);
    }
    start(QString::fromStdString(dir.path("mine.pmr").string()));
    EXPECT_EQ(libraryBrowser().ids(kCategoryComposite), std::vector<int>{2});
    EXPECT_EQ(frame->document().title(), QStringLiteral("mine.pmr"));
    EXPECT_EQ(frame->windowHandle()->title(), QStringLiteral("mine.pmr - Pelmora"));
}

// The organs that wear an image the library was copied without all ask for it: the
// user is told once, in the window and on the terminal, and again when the library
// is opened anew.
TEST_F(StartupTest, AMissingImageIsNamedOnceInTheWindowAndOnTheTerminal) {
    std::filesystem::copy_file(PELMORA_STARTER_LIBRARY,
                               dir.path(LibraryFileModule::kStartupFileName));
    const auto toldOnce = [this](const std::string& terminal) {
        QList<QMessageBox*> notes;
        for (QMessageBox* note : frame->findChildren<QMessageBox*>(QStringLiteral("MissingImages")))
            if (note->isVisible())
                notes.append(note);
        ASSERT_EQ(notes.size(), 1);
        EXPECT_EQ(notes[0]->text().count(QStringLiteral("pminit-leaf.bmp")), 1);
        EXPECT_EQ(std::count(terminal.begin(), terminal.end(), '\n'), 1) << terminal;
        EXPECT_NE(terminal.find("pminit-leaf.bmp"), std::string::npos) << terminal;
        notes[0]->accept();
    };
    testing::internal::CaptureStderr();
    start();
    toldOnce(testing::internal::GetCapturedStderr());

    testing::internal::CaptureStderr();
    frame->openDocumentPath(
        QString::fromStdString(dir.path(LibraryFileModule::kStartupFileName).string()));
    toldOnce(testing::internal::GetCapturedStderr());
}

TEST_F(StartupTest, StartAndShutdownCanRunRepeatedly) {
    for (int run = 0; run < 2; ++run) {
        start();
        appController().addToLibrary(
            std::make_unique<FlowerObjectComposite>(appController().nextId()), kCategoryComposite);
        shutdownApplication(frame);
        EXPECT_EQ(existingSingleton<AppController>(), nullptr);
    }
}

// A start with the starter library copied without the leaf image nineteen of its
// organs wear: the terminal hears only that the image cannot be read, once. With
// --verbose the diagnostics come, "start" first.
TEST(ProgramTest, AStartSaysOnlyWhatTheUserMustActOn) {
    WorkingDirectory dir;
    std::filesystem::copy_file(PELMORA_STARTER_LIBRARY,
                               dir.path(LibraryFileModule::kStartupFileName));
    const auto standardErrorUpToTheImage = [&dir](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Only what comes first matters: leaks at the forced stop are not the program's.
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        // The program's settings and autosaves stay in the test's directory.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           QString::fromStdString(dir.path("config").string()));
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           QString::fromStdString(dir.path("data").string()));
        process.setProcessEnvironment(environment);
        process.setReadChannel(QProcess::StandardError);
        process.start(QStringLiteral(PELMORA_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForStarted());
        QByteArray text;
        while (!(text.contains("pminit-leaf.bmp") && text.endsWith('\n')) &&
               process.waitForReadyRead(60000))
            text += process.readAllStandardError();
        process.kill();
        process.waitForFinished(-1);
        return text;
    };
    const QByteArray quiet = standardErrorUpToTheImage({});
    EXPECT_EQ(quiet.count('\n'), 1) << quiet.toStdString();
    EXPECT_TRUE(quiet.startsWith("pelmora: the texture image ")) << quiet.toStdString();
    EXPECT_TRUE(quiet.contains("pminit-leaf.bmp cannot be read")) << quiet.toStdString();

    const QByteArray verbose = standardErrorUpToTheImage({QStringLiteral("--verbose")});
    EXPECT_TRUE(verbose.startsWith("pelmora: start\n")) << verbose.toStdString();
    EXPECT_TRUE(verbose.contains("pelmora: loading texture ")) << verbose.toStdString();
}

// Help and version are asked for from a terminal, often one without a display:
// they must answer there rather than fail to open a window.
TEST(ProgramTest, HelpAndVersionAnswerWithoutADisplay) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const auto run = [&environment](const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(PELMORA_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    };
    const QString help = run({QStringLiteral("--help")});
    EXPECT_TRUE(help.contains(QStringLiteral("[library.pmr]"))) << help.toStdString();
    EXPECT_TRUE(run({QStringLiteral("--version")}).startsWith(QStringLiteral("Pelmora 1.0")));
}
