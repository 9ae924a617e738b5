#include "OrganSketchingFixture.h"

#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"
#include "organs/OrganTexturing.h"
#include "ui/AutomaticRotation.h"
#include "ui/CFlowerLibView.h"
#include "ui/CMainFrame.h"
#include "ui/ShellPrompts.h"
#include "ui/TextureCommands.h"

#include <QDir>
#include <QStatusBar>

#include <functional>

namespace {

bool mostlyBlue(const QColor& c) {
    return c.blue() > 2 * c.red() + 20 && c.blue() > 2 * c.green() + 20;
}

bool mostlyGreen(const QColor& c) {
    return c.green() > 2 * c.red() + 20 && c.green() > 2 * c.blue() + 20;
}

std::string fileText(const QString& path) {
    std::stringstream text;
    text << std::ifstream(path.toStdString()).rdbuf();
    return text.str();
}

// The file names the MTL text maps, each once.
QStringList mappedFiles(const std::string& mtl) {
    QStringList files;
    std::istringstream lines(mtl);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("map_Kd ", 0) == 0)
            files.append(QString::fromStdString(line.substr(7)));
    files.removeDuplicates();
    files.sort();
    return files;
}

} // namespace

class TexturingTest : public OrganSketchingFixture {
protected:
    // A one-colour image file at `relative` below the working directory.
    QString image(const std::string& relative, const QColor& colour) {
        const QString path = pathOf(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(colour);
        EXPECT_TRUE(picture.save(path));
        return path;
    }

    // The colour the screen shows at a world point, once `settled` holds for it (by
    // default: something is drawn there) or after a few seconds.
    QColor shownAt(const Vector3& point, const std::function<bool(const QColor&)>& settled) {
        const QPoint at = view->mapToGlobal(pixelOf(point)) - frame->mapToGlobal(QPoint());
        lastGrab = grabShowing(*view, *frame, at, settled);
        return lastGrab.pixelColor(at);
    }

    QImage lastGrab;

    // The next images asked for are `paths`, one each, in order; then cancel.
    void chooseImages(const QStringList& paths) {
        shellPrompts().chooseImage = [left = paths](const QString&, const QString&) mutable {
            return left.isEmpty() ? QString() : left.takeFirst();
        };
    }

    QString statusNote() const { return frame->statusBar()->currentMessage(); }

    void exportWorkObject(const QString& obj) {
        QDir().mkpath(QFileInfo(obj).absolutePath());
        exportObjTo(obj);
        run(kCmdSaveObj);
        EXPECT_TRUE(statusNote().startsWith(QStringLiteral("Exported")))
            << statusNote().toStdString();
    }

    // The MTL file maps one image per name start given, each copied beside it.
    void expectImagesBeside(const QString& mtl, const QStringList& starts) {
        const QStringList files = mappedFiles(fileText(mtl));
        ASSERT_EQ(files.size(), starts.size()) << files.join(QLatin1Char(' ')).toStdString();
        for (int i = 0; i < files.size(); ++i) {
            EXPECT_TRUE(files[i].startsWith(starts[i])) << files[i].toStdString();
            EXPECT_TRUE(QFileInfo::exists(QFileInfo(mtl).dir().filePath(files[i])))
                << files[i].toStdString();
        }
    }

    // Opens the library entry at tile position 1 of the category as the work object.
    void openFirstEntry(int categoryCommand) {
        run(categoryCommand);
        QTest::mouseDClick(frame->libraryView(), Qt::RightButton, Qt::NoModifier, QPoint(41, 117));
    }
};

// A petal textured with images from the library's folder and a stem textured with
// an image from elsewhere are shown textured, saved, moved with the library's
// folder, reopened with their images and exported with the images beside the MTL.
TEST_F(TexturingTest, TexturedOrgansShowTheirImagesAndKeepThemWhenTheLibraryMoves) {
    const QString blue = image("lib/images/blue.png", QColor(0, 0, 255));
    const QString navy = image("lib/images/navy.jpg", QColor(0, 0, 170));
    const QString green = image("elsewhere/green.bmp", QColor(0, 200, 0));
    const Vector3 onPetal{0.0, 0.5, 0.0};

    ASSERT_NE(drawPetal(), nullptr);
    const QColor plain = shownAt(onPetal, {});
    EXPECT_FALSE(mostlyBlue(plain));
    chooseImages({blue, navy});
    run(kCmdTextureToObject);
    auto* petal = work<FlowerPetalNode>();
    ASSERT_NE(petal, nullptr);
    TextureManager& textures = viewManager().textures();
    ASSERT_TRUE(petal->hasTexture);
    EXPECT_EQ(textures.path(petal->textureFront), blue.toStdString());
    EXPECT_EQ(textures.path(petal->textureBack), navy.toStdString());
    EXPECT_EQ(controller().history().undoName(), "Texture object");
    EXPECT_TRUE(mostlyBlue(shownAt(onPetal, mostlyBlue)));
    saveScreenshotIfAsked(lastGrab);
    run(kCmdStoreCurrent);
    EXPECT_TRUE(statusNote().startsWith(QStringLiteral("Stored")));

    Stroke axis;
    for (int i = 0; i < 10; ++i)
        axis.add({0.0, 0.1 * i, 0.0});
    controller().setWorkObject(std::make_unique<FlowerStemNode>(
        controller().nextId(), axis, controller().settings().parameters));
    controller().commit(kChangeWorkObject);
    chooseImages({green, green});
    run(kCmdTextureToObject);
    EXPECT_TRUE(mostlyGreen(shownAt(onPetal, mostlyGreen)));
    run(kCmdStoreCurrent);

    saveLibraryAs(pathOf("lib/flowers.pmr"));
    run(kCmdFileSave);
    EXPECT_TRUE(statusNote().startsWith(QStringLiteral("Saved")));
    const std::string saved = fileText(pathOf("lib/flowers.pmr"));
    EXPECT_NE(saved.find("textureFront images/blue.png\n"), std::string::npos);
    EXPECT_NE(saved.find("textureBack images/navy.jpg\n"), std::string::npos);
    EXPECT_NE(saved.find("textureFront " + green.toStdString() + "\n"), std::string::npos);

    ASSERT_TRUE(QDir().rename(pathOf("lib"), pathOf("moved")));
    ASSERT_TRUE(frame->openDocumentPath(pathOf("moved/flowers.pmr")));
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();

    openFirstEntry(kCmdLeafLibrary);
    petal = work<FlowerPetalNode>();
    ASSERT_NE(petal, nullptr);
    ASSERT_TRUE(petal->hasTexture);
    EXPECT_EQ(textures.path(petal->textureFront), pathOf("moved/images/blue.png").toStdString());
    EXPECT_EQ(textures.path(petal->textureBack), pathOf("moved/images/navy.jpg").toStdString());
    exportWorkObject(pathOf("out/petal.obj"));
    expectImagesBeside(pathOf("out/petal.mtl"), {"blue", "navy"});

    openFirstEntry(kCmdPrimitiveLibrary);
    auto* stem = work<FlowerStemNode>();
    ASSERT_NE(stem, nullptr);
    EXPECT_EQ(textures.path(stem->textureFront), green.toStdString());
    exportWorkObject(pathOf("out/stem.obj"));
    expectImagesBeside(pathOf("out/stem.mtl"), {"green"});
}

// The organ commands on a flower head: a whorl without organs changes nothing, the
// petal whorl's organs and the receptacle's body are textured as one step each, a
// damaged image is named in the message, and undo takes a step back.
TEST_F(TexturingTest, AFlowerHeadsWhorlsAndBodyAreTexturedOneStepAtATime) {
    const QString red = image("red.png", QColor(255, 0, 0));
    const QString blue = image("blue.png", QColor(0, 0, 255));
    QFile broken(pathOf("broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\n not really");
    broken.close();

    run(kCmdFlowerCreation);
    auto* flower = work<FlowerTorusNode>();
    ASSERT_NE(flower, nullptr);
    run(kCmdToolPen);
    FlowerPart& slot = *flower->whorl(kWhorlPetal).parts[0];
    const Vector3 start = slot.basicTransAndRot.translationPart();
    drag(straightLine(start, start + Vector3(-0.3, 0.3, 0.0), 10));
    ASSERT_TRUE(slot.holdsOrgan());
    const auto texturedOrgans = [&] {
        int textured = 0;
        forEachSlot(*work<FlowerTorusNode>(), [&](const FlowerPart& part) {
            textured += part.object && part.object->hasTexture ? 1 : 0;
        });
        return textured;
    };
    const std::string before = controller().history().undoName();

    chooseImages({red, red});
    textureTargetOrgans(*frame, OrganGroup::Sepals);
    controller().commit();
    EXPECT_EQ(texturedOrgans(), 0);
    EXPECT_FALSE(work<FlowerTorusNode>()->hasTexture);
    EXPECT_EQ(controller().history().undoName(), before);
    EXPECT_TRUE(statusNote().contains(QStringLiteral("sepals")));

    chooseImages({broken.fileName(), red});
    textureTargetOrgans(*frame, OrganGroup::Petals);
    controller().commit();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(broken.fileName())) << failures[0].toStdString();
    EXPECT_EQ(texturedOrgans(), 0);
    failures.clear();

    chooseImages({red, red});
    textureTargetOrgans(*frame, OrganGroup::Petals);
    controller().commit();
    EXPECT_EQ(texturedOrgans(), 1);
    EXPECT_FALSE(work<FlowerTorusNode>()->hasTexture);
    EXPECT_EQ(controller().history().undoName(), "Texture petals");

    const Vector3 onBody{0.0, 0.3, 0.0};
    EXPECT_FALSE(
        mostlyBlue(shownAt(onBody, {})));
    chooseImages({blue, blue});
    textureTargetOrgans(*frame, OrganGroup::Stems);
    controller().commit();
    EXPECT_TRUE(work<FlowerTorusNode>()->hasTexture);
    EXPECT_TRUE(mostlyBlue(shownAt(onBody, mostlyBlue)));

    run(kCmdEditUndo);
    EXPECT_FALSE(work<FlowerTorusNode>()->hasTexture);
    EXPECT_EQ(texturedOrgans(), 1);
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(TexturingTest, TheAutomaticRotationStopsOnAClickAndOtherwiseMakesItsWholeTurn) {
    auto* rotation = frame->commands().findChild<AutomaticRotation*>();
    ASSERT_NE(rotation, nullptr);
    const CameraPose home = gl().camera().pose();

    run(kCmdAutomaticRotation);
    ASSERT_TRUE(rotation->running());
    QTest::qWait(400);
    const Vector3 turned = gl().camera().eye;
    EXPECT_GT(distance(turned, home.eye), 0.01) << "the camera turns while events run";
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(rotation->running());
    const Vector3 stopped = gl().camera().eye;
    QTest::qWait(200);
    EXPECT_EQ(gl().camera().eye, stopped);

    gl().setCamera(home.eye, home.center, home.up);
    run(kCmdAutomaticRotation);
    for (int wait = 0; wait < 3000 && rotation->running(); ++wait)
        QTest::qWait(20);
    ASSERT_FALSE(rotation->running());
    Camera expected;
    expected.setPose(home);
    for (int step = 0; step < kAutomaticRotationSteps; ++step)
        expected.orbit(kAutomaticRotationStep, 0.0);
    EXPECT_LT(distance(gl().camera().eye, expected.eye), 1e-9);
    EXPECT_LT(distance(gl().camera().up, expected.up), 1e-9);
}
