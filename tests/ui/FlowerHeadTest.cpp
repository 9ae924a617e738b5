#include "OrganSketchingFixture.h"

#include "control/FloralDiagram.h"
#include "control/FloralDiagramGlyphs.h"
#include "control/LibraryFileModule.h"
#include "organs/FlowerTorusNode.h"
#include "ui/CFlowerLibView.h"
#include "ui/FDParameterDlg.h"
#include "ui/ShellPrompts.h"

#include <QLabel>
#include <QSpinBox>
#include <QStatusBar>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <set>
#include <utility>

namespace {
constexpr double kPi = std::numbers::pi;
} // namespace

class FlowerHeadTest : public OrganSketchingFixture {
protected:
    static std::string readText(const QString& path) {
        std::ifstream in(path.toStdString(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(FlowerHeadTest, FlowerCreationStoresANewFlowerWhoseDiagramTheLibraryViewShows) {
    run(kCmdFlowerCreation);
    auto* flower = work<FlowerTorusNode>();
    ASSERT_NE(flower, nullptr);
    EXPECT_EQ(controller().mode(), kModeTorusModify);
    EXPECT_EQ(libraryBrowser().ids(kCategoryFlower), std::vector<int>{flower->id});
    EXPECT_EQ(floralDiagram().receptacle(), flower);
    EXPECT_EQ(flower->whorl(kWhorlPistil).parts.size(), 1u);
    EXPECT_EQ(flower->whorl(kWhorlStamen).parts.size(), 6u);
    EXPECT_EQ(flower->whorl(kWhorlPetal).parts.size(), 6u);

    FDParameterDlg& dialog = viewManager().floralDiagramDialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.findChild<QSpinBox*>(QStringLiteral("PetalCount"))->value(), 6);
    // It opens beside the main view, leaving its middle and the library view free.
    const QRect dialogArea = dialog.frameGeometry();
    const QWidget* pane = frame->libraryView();
    EXPECT_FALSE(dialogArea.contains(view->mapToGlobal(QPoint(view->width(), view->height()) / 2)));
    EXPECT_FALSE(dialogArea.intersects(QRect(pane->mapToGlobal(QPoint()), pane->size())));

    // The first petal sits left of the centre on the petal ring, drawn as an empty
    // (light grey) glyph pointing outwards.
    frame->libraryView()->repaint();
    const QImage view = frame->libraryView()->grab().toImage();
    const QPoint centre = floralDiagram().centre();
    const QPoint petal = centre - QPoint(floralDiagram().ringRadius(2) + 4, 0);
    EXPECT_EQ(view.pixel(petal), qRgb(230, 230, 230));

    run(kCmdFlowerCreation);
    EXPECT_EQ(libraryBrowser().ids(kCategoryFlower).size(), 2u);
}

// In a scene, the library view's diagram follows the focused flower head of a
// planted starter plant: every organ's glyph is drawn, and the rings and glyphs,
// which reach further than the pane is wide, are drawn smaller to fit it.
TEST_F(FlowerHeadTest, TheFocusedFlowerOfAScenePlantShowsAllItsGlyphsInsideThePane) {
    const std::filesystem::path starter(PELMORA_STARTER_LIBRARY);
    std::filesystem::copy_file(starter, dir.path("starter.pmr"));
    std::filesystem::copy_file(starter.parent_path() / "pminit-leaf.bmp",
                               dir.path("pminit-leaf.bmp"));
    ASSERT_TRUE(frame->openDocumentPath(pathOf("starter.pmr")));
    LibraryBrowser& browser = libraryBrowser();
    const FlowerTorusNode* head = nullptr;
    for (int position = 1; position < browser.entryCount(kCategoryComposite) && !head; ++position) {
        const auto* plant =
            asComposite(controller().findObject(browser.idAt(position, kCategoryComposite)));
        if (plant && !plant->segments.empty())
            if (const auto* top = asTorus(plant->segments.back().node.get());
                top && !top->whorl(kWhorlSepal).parts.empty()) {
                browser.setCategory(kCategoryComposite);
                browser.select(position, kCategoryComposite);
                head = top;
            }
    }
    ASSERT_NE(head, nullptr);

    run(kCmdSceneCreation);
    run(kCmdToolPen);
    drag(pixelsOf(straightLine({0, 0, 0}, {0, 1.2, 0}, 12)));
    ASSERT_EQ(controller().root()->plants.size(), 1u);
    const auto* planted = controller().root()->plants.front().composite.get();
    head = asTorus(planted->segments.back().node.get());
    ASSERT_NE(head, nullptr);
    controller().focusDown(planted->id, false);
    controller().focusDown(head->id, false);
    controller().commit();
    ASSERT_EQ(floralDiagram().receptacle(), head);

    QWidget* library = frame->libraryView();
    library->repaint();
    const QImage pane = library->grab().toImage();
    const QRect diagramArea(0, LibraryBrowser::kDiagramTop, pane.width(),
                            pane.height() - LibraryBrowser::kDiagramTop);
    const FloralDiagram& diagram = floralDiagram();
    EXPECT_LT(diagram.scale(), 1.0);
    const int sepalRing = diagram.ringRadius(3);
    for (double theta : {0.0, kPi / 2, kPi, 3 * kPi / 2})
        EXPECT_TRUE(diagramArea.contains(diagram.pixelAt(sepalRing, theta).toPoint())) << theta;
    // Each glyph shows its whorl's colour near its slot.
    const auto showsNear = [&](const QPoint& at, int reach, QRgb colour) {
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                if (pane.rect().contains(at + QPoint(dx, dy)) &&
                    pane.pixel(at + QPoint(dx, dy)) == colour)
                    return true;
        return false;
    };
    int glyphs = 0;
    for (const auto& [whorl, colour] :
         {std::pair{kWhorlPistil, qRgb(0, 255, 0)}, std::pair{kWhorlStamen, qRgb(0, 255, 0)},
          std::pair{kWhorlPetal, qRgb(255, 0, 0)}, std::pair{kWhorlSepal, qRgb(0, 0, 255)}})
        for (const auto& slot : head->whorl(whorl).parts) {
            ASSERT_TRUE(slot->holdsOrgan());
            const QPointF out(std::cos(slot->theta), std::sin(slot->theta));
            const QPoint at = (diagram.pixelAt(slot->radius, slot->theta) +
                               out * (0.4 * glyphSize(*slot) * diagram.scale()))
                                  .toPoint();
            EXPECT_TRUE(diagramArea.contains(at)) << whorl;
            EXPECT_TRUE(showsNear(at, 2, colour)) << "whorl " << whorl << " slot " << slot->index;
            ++glyphs;
        }
    EXPECT_EQ(glyphs, 16);
}

// A new flower's formula under its diagram follows the counts typed into the dialog,
// and the File menu saves the diagram as SVG and the flower as glTF.
TEST_F(FlowerHeadTest, TheFormulaFollowsTheDialogAndTheFileMenuSavesDiagramAndFlower) {
    run(kCmdFlowerCreation);
    ASSERT_NE(work<FlowerTorusNode>(), nullptr);
    FDParameterDlg& dialog = viewManager().floralDiagramDialog();
    const QLabel* formula = dialog.findChild<QLabel*>(QStringLiteral("Formula"));
    ASSERT_NE(formula, nullptr);
    EXPECT_EQ(formula->text(), QStringLiteral("C6 A6 G1"));
    QSpinBox* sepals = dialog.findChild<QSpinBox*>(QStringLiteral("SepalCount"));
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(sepals, Qt::Key_Up);
    EXPECT_EQ(formula->text(), QStringLiteral("K5 C6 A6 G1"));
    controller().undo();
    EXPECT_EQ(formula->text(), QStringLiteral("K4 C6 A6 G1"));

    QStringList asked;
    shellPrompts().chooseSaveFile = [&](const QString& caption, const QString&, const QString&) {
        asked << caption;
        return pathOf("flower.svg");
    };
    shellPrompts().chooseGltfExport = [&] {
        asked << QStringLiteral("glTF");
        return ShellPrompts::GltfExportChoice{pathOf("flower.gltf")};
    };
    run(kCmdSaveDiagramSvg);
    EXPECT_TRUE(frame->statusBar()->currentMessage().endsWith(QStringLiteral("flower.svg")));
    run(kCmdSaveGltf);
    EXPECT_TRUE(frame->statusBar()->currentMessage().endsWith(QStringLiteral("flower.gltf")));
    EXPECT_EQ(asked, (QStringList{QStringLiteral("Save floral diagram as SVG"),
                                  QStringLiteral("glTF")}));
    EXPECT_NE(readText(pathOf("flower.svg")).find("K4 C6 A6 G1"), std::string::npos);
    EXPECT_NE(readText(pathOf("flower.gltf")).find("\"receptacle"), std::string::npos);
    EXPECT_FALSE(readText(pathOf("flower.bin")).empty());
    EXPECT_TRUE(failures.isEmpty());

    // Only a flower head has a floral diagram.
    frame->commands().updateAll();
    EXPECT_TRUE(frame->commands().action(kCmdSaveDiagramSvg)->isEnabled());
    run(kCmdCompositeCreation);
    frame->commands().updateAll();
    EXPECT_FALSE(frame->commands().action(kCmdSaveDiagramSvg)->isEnabled());
}

// The typical road of a new user: a petal drawn and stored, a new flower, a band of
// its diagram marked with the right button, the petal's tile dropped onto a marked
// organ, the library saved, reopened, and the flower exported.
TEST_F(FlowerHeadTest, APetalDroppedOnAMarkedBandFillsEveryMarkedSlotAndSurvivesSaveAndExport) {
    const FlowerPetalNode* petal = drawPetal();
    ASSERT_NE(petal, nullptr);
    const int petalId = petal->id;
    run(kCmdStoreCurrent);
    run(kCmdFlowerCreation);
    auto* flower = work<FlowerTorusNode>();
    ASSERT_NE(flower, nullptr);
    const int flowerId = flower->id;

    QWidget* library = frame->libraryView();
    library->repaint();
    FloralDiagram& diagram = floralDiagram();
    const QPoint c = diagram.centre();
    const int petalRing = diagram.ringRadius(2);
    const int stamenRing = diagram.ringRadius(1);

    // A ring handle dragged past its neighbour stays where it was.
    QTest::mousePress(library, Qt::LeftButton, Qt::NoModifier, QPoint(10, c.y() - stamenRing));
    QTest::mouseMove(library, QPoint(10, c.y() - petalRing - 5));
    QTest::mouseRelease(library, Qt::LeftButton, Qt::NoModifier, QPoint(10, c.y() - petalRing - 5));
    EXPECT_EQ(diagram.ringRadius(1), stamenRing);

    // Mark the band around the petal ring.
    QTest::mousePress(library, Qt::RightButton, Qt::NoModifier,
                      QPoint(c.x(), c.y() - petalRing + 8));
    QTest::mouseMove(library, QPoint(c.x(), c.y() - petalRing - 8));
    QTest::mouseRelease(library, Qt::RightButton, Qt::NoModifier,
                        QPoint(c.x(), c.y() - petalRing - 8));
    for (const auto& slot : flower->whorl(kWhorlPetal).parts) {
        EXPECT_FALSE(slot->holdsOrgan());
        EXPECT_TRUE(diagram.selection().isMarked(flowerId, {kWhorlPetal, slot->index}));
    }

    // Drop the petal's tile (position 1 of the leaf category) onto the first petal.
    run(kCmdLeafLibrary);
    const QPoint petalTile(41, 117);
    const QPoint firstPetal(c.x() - petalRing - 4, c.y());
    QTest::mousePress(library, Qt::LeftButton, Qt::NoModifier, petalTile);
    QTest::mouseMove(library, firstPetal);
    QTest::mouseRelease(library, Qt::LeftButton, Qt::NoModifier, firstPetal);

    std::set<int> ids;
    for (const auto& slot : flower->whorl(kWhorlPetal).parts) {
        ASSERT_TRUE(slot->holdsOrgan());
        EXPECT_NE(slot->object->id, petalId);
        ids.insert(slot->object->id);
    }
    EXPECT_EQ(ids.size(), flower->whorl(kWhorlPetal).parts.size());
    for (const auto& slot : flower->whorl(kWhorlStamen).parts)
        EXPECT_FALSE(slot->object);
    // The picture shows the flower and its diagram; the dialog would cover it.
    viewManager().floralDiagramDialog().hide();
    const QPoint body = view->mapToGlobal(pixelOf({0.0, 0.3, 0.0})) - frame->mapToGlobal(QPoint());
    const QImage window = grabShowing(*view, *frame, body);
    EXPECT_FALSE(showsBackgroundAt(*view, *frame, body, window.pixelColor(body)));
    saveScreenshotIfAsked(window);

    // The petal's entry dragged onto the "nothing" tile leaves the library; the
    // flower keeps its copies.
    QTest::mousePress(library, Qt::LeftButton, Qt::NoModifier, petalTile);
    QTest::mouseMove(library, QPoint(41, 41));
    QTest::mouseRelease(library, Qt::LeftButton, Qt::NoModifier, QPoint(41, 41));
    EXPECT_EQ(controller().findObject(petalId), nullptr);
    EXPECT_TRUE(flower->whorl(kWhorlPetal).parts[0]->holdsOrgan());

    ASSERT_TRUE(frame->document().saveDocument(pathOf("flower.pmr")));
    ASSERT_TRUE(frame->openDocumentPath(pathOf("flower.pmr")));
    run(kCmdFlowerLibrary);
    QTest::mouseDClick(library, Qt::RightButton, Qt::NoModifier, petalTile);
    auto* opened = work<FlowerTorusNode>();
    ASSERT_NE(opened, nullptr);
    EXPECT_NE(opened->id, flowerId);
    EXPECT_EQ(controller().mode(), kModeTorusModify);

    std::string error;
    ASSERT_TRUE(
        libraryFileModule().exportFocusObj(pathOf("flower.obj").toStdString(), false, error))
        << error;
    std::ifstream obj(pathOf("flower.obj").toStdString());
    int petalGroups = 0;
    for (std::string line; std::getline(obj, line);)
        petalGroups += line.rfind("g petalRightFront_", 0) == 0;
    EXPECT_EQ(petalGroups, 6);
}
