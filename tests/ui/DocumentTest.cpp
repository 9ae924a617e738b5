#include "ShellFixture.h"

#include "FlatSquareNode.h"
#include "control/LibraryBrowser.h"
#include "gl/TOGL.h"
#include "ui/CFlowerLibView.h"
#include "ui/RecentFiles.h"
#include "ui/ViewManager.h"

#include <QFile>
#include <QMenu>
#include <QMenuBar>

#include <fstream>

class DocumentTest : public ShellFixture {
protected:
    void SetUp() override {
        start();
        frame->document().reportFailure = [this](const QString& message) {
            failures.push_back(message);
        };
    }
    QString pathOf(const std::string& name) {
        return QString::fromStdString(dir.path(name).string());
    }
    QByteArray contentOf(const std::string& name) {
        QFile file(pathOf(name));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    QStringList failures;
};

TEST_F(DocumentTest, SaveThenOpenGivesTheSameLibrary) {
    AppController& c = appController();
    c.addToLibrary(std::make_unique<FlowerObjectComposite>(c.nextId()), kCategoryFlower);
    c.addToLibrary(std::make_unique<FlowerObjectComposite>(c.nextId()), kCategoryComposite);
    c.addScene(std::make_unique<SceneRoot>(c.nextId()));
    ASSERT_TRUE(frame->document().saveDocument(pathOf("a.pmr")));
    EXPECT_EQ(frame->document().title(), QStringLiteral("a.pmr"));

    ASSERT_TRUE(frame->openDocumentPath(pathOf("a.pmr")));
    EXPECT_TRUE(failures.isEmpty());
    ASSERT_TRUE(frame->document().saveDocument(pathOf("b.pmr")));
    EXPECT_EQ(contentOf("a.pmr"), contentOf("b.pmr"));
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryComposite), 2);
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryScene), 2);
    EXPECT_EQ(appController().mode(), kModeComposite);
}

TEST_F(DocumentTest, OpeningAFileThatIsNoLibraryLosesNothingAndSaysWhere) {
    AppController& c = appController();
    c.addToLibrary(std::make_unique<FlowerObjectComposite>(c.nextId()), kCategoryComposite);
    std::ofstream(dir.path("picture.pmr")) << "GIF89a";
    EXPECT_FALSE(frame->openDocumentPath(pathOf("picture.pmr")));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("Failed to open document.")));
    EXPECT_TRUE(failures[0].contains(QStringLiteral("picture.pmr")));
    EXPECT_EQ(libraryBrowser().entryCount(kCategoryComposite), 2);
    EXPECT_EQ(frame->document().title(), QStringLiteral("Untitled"));
}

TEST_F(DocumentTest, AFailedSaveIsReportedAndKeepsTheDocumentsName) {
    EXPECT_FALSE(frame->document().saveDocument(pathOf("missing/dir/x.pmr")));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("Failed to save document.")));
    EXPECT_TRUE(failures[0].contains(QStringLiteral("missing/dir")));
    EXPECT_EQ(frame->document().title(), QStringLiteral("Untitled"));
}

TEST_F(DocumentTest, ABrokenFileKeepsTheModifiedLibraryOrGivesItsPartAsAnUntitledDocument) {
    AppController& c = appController();
    for (int i = 0; i < 3; ++i)
        c.addToLibrary(std::make_unique<FlowerObjectComposite>(c.nextId()), kCategoryComposite);
    ASSERT_TRUE(frame->document().saveDocument(pathOf("whole.pmr")));
    const QByteArray whole = contentOf("whole.pmr");
    {
        std::ofstream broken(dir.path("broken.pmr"));
        broken << whole.left(whole.indexOf("Composit 2")).toStdString() << "Composit 2\nColor\n";
    }
    c.addToLibrary(std::make_unique<FlowerObjectComposite>(c.nextId()), kCategoryComposite);
    c.commit();
    ASSERT_TRUE(c.modified());

    // Declined, the broken file changes nothing: not the library, its name or its
    // unsaved changes.
    EXPECT_FALSE(frame->openDocumentPath(pathOf("broken.pmr")));
    ASSERT_FALSE(questions.isEmpty());
    EXPECT_TRUE(questions.back().contains(QStringLiteral("broken.pmr")));
    EXPECT_TRUE(questions.back().contains(QStringLiteral("line")));
    EXPECT_EQ(libraryBrowser().ids(kCategoryComposite), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(frame->document().title(), QStringLiteral("whole.pmr"));
    EXPECT_TRUE(c.modified());
    EXPECT_TRUE(frame->isWindowModified());

    // Asked for, the part before the break is an untitled document that a plain
    // Save cannot write over the whole file, and that is not saved anywhere yet.
    shellPrompts().openReadablePart = [](const QString&) { return true; };
    EXPECT_FALSE(frame->openDocumentPath(pathOf("broken.pmr")));
    EXPECT_EQ(libraryBrowser().ids(kCategoryComposite), std::vector<int>{1});
    EXPECT_TRUE(frame->document().path().isEmpty());
    EXPECT_TRUE(c.modified());
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_EQ(contentOf("whole.pmr"), whole);
}

TEST_F(DocumentTest, AThumbnailFramesTheObjectsPixels) {
    AppController& c = appController();
    c.addToLibrary(std::make_unique<FlatSquareNode>(c.nextId()), kCategoryLeaf);
    const QImage* tile = libraryBrowser().thumbnailAt(1, kCategoryLeaf);
    ASSERT_NE(tile, nullptr);
    ASSERT_EQ(tile->size(), QSize(70, 70));
    // The square fills the tile but for a narrow margin of its light ground.
    const QRgb ground = qRgb(236, 236, 228);
    for (int x : {7, 35, 62})
        for (int y : {7, 35, 62})
            EXPECT_EQ(tile->pixel(x, y), qRgb(255, 0, 0)) << x << "," << y;
    for (const QPoint& margin : {QPoint(2, 35), QPoint(67, 35), QPoint(35, 2), QPoint(35, 67)})
        EXPECT_EQ(tile->pixel(margin), ground) << margin.x() << "," << margin.y();
}

TEST_F(DocumentTest, PickBuffersShowTheWorkObjectUnderItsPixels) {
    AppController& c = appController();
    auto square = std::make_unique<FlatSquareNode>(c.nextId());
    const int id = square->id;
    c.setWorkObject(std::move(square));
    c.commit();
    TOGL& gl = *viewManager().mainContext();
    const PickPixel centre = gl.pixelHasObject(gl.bufferWidth() / 2, gl.bufferHeight() / 2);
    ASSERT_TRUE(centre.found);
    EXPECT_EQ(decodePickColour(centre.colour, &gl.pickKeys()).id, id);
    EXPECT_FALSE(gl.pixelHasObject(5, 5).found);
}

TEST_F(DocumentTest, TheLibraryViewShowsStoredThumbnails) {
    AppController& c = appController();
    c.setWorkObject(std::make_unique<FlatSquareNode>(c.nextId()));
    c.storeCurrent();
    EXPECT_EQ(libraryBrowser().category(), kCategoryLeaf);
    const QImage view = frame->libraryView()->grab().toImage();
    // The second tile (position 1) sits at (6, 82).
    EXPECT_EQ(view.pixel(6, 82), libraryBrowser().thumbnailAt(1, kCategoryLeaf)->pixel(0, 0));
    EXPECT_EQ(view.pixel(6 + 35, 82 + 35), qRgb(255, 0, 0));
}

TEST_F(DocumentTest, TheFileMenuListsTheFourLatestLibraries) {
    for (int i = 1; i <= 5; ++i) {
        ASSERT_TRUE(frame->document().saveDocument(pathOf("lib" + std::to_string(i) + ".pmr")));
        frame->saveDocument(); // the menu's Save, under the document's name
    }
    frame->saveDocument(); // lib5.pmr again: it stays first, once
    QStringList recent;
    for (QAction* action : frame->menuBar()->actions().front()->menu()->actions())
        if (action->text().startsWith(QLatin1Char('&')))
            recent.append(action->text());
    ASSERT_EQ(recent.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(recent[i].startsWith(QStringLiteral("&%1 ").arg(i + 1)));
        EXPECT_TRUE(recent[i].endsWith(QStringLiteral("lib%1.pmr").arg(5 - i)))
            << recent[i].toStdString();
    }
    // The list outlives the window.
    EXPECT_EQ(RecentFiles().paths().size(), 4);
}

TEST_F(DocumentTest, ARecentLibraryThatIsGoneLeavesTheList) {
    ASSERT_TRUE(frame->document().saveDocument(pathOf("kept.pmr")));
    frame->saveDocument();
    ASSERT_TRUE(frame->document().saveDocument(pathOf("gone.pmr")));
    frame->saveDocument();
    QFile::remove(pathOf("gone.pmr"));
    EXPECT_FALSE(frame->openDocumentPath(pathOf("gone.pmr")));
    EXPECT_EQ(failures.size(), 1);
    const QStringList recent = RecentFiles().paths();
    ASSERT_EQ(recent.size(), 1);
    EXPECT_TRUE(recent.front().endsWith(QStringLiteral("kept.pmr")));
}
