#include "OrganSketchingFixture.h"

#include "control/FloralDiagram.h"
#include "organs/FlowerTorusNode.h"
#include "ui/CFlowerLibView.h"
#include "ui/FDParameterDlg.h"

#include <QSpinBox>

class FlowerHeadTest : public OrganSketchingFixture {};

TEST_F(FlowerHeadTest, FlowerCreationStoresANewFlowerWhoseDiagramTheLibraryViewShows) {
    run(kCmdFlowerCreation);
    auto* flower = work<FlowerTorusNode>();
    ASSERT_NE(flower, nullptr);
    EXPECT_EQ(controller().mode(), kModeTorusModify);
    EXPECT_EQ(libraryBrowser().ids(kCategoryFlower), std::vector<int>{flower->id});
    EXPECT_EQ(floralDiagram().receptacle(), flower);
    EXPECT_EQ(flower->pistilParts.size(), 1u);
    EXPECT_EQ(flower->stamenParts.size(), 6u);
    EXPECT_EQ(flower->petalParts.size(), 6u);

    FDParameterDlg& dialog = viewManager().floralDiagramDialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.findChild<QSpinBox*>(QStringLiteral("PetalCount"))->value(), 6);

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
