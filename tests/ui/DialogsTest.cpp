#include "ShellFixture.h"

#include "control/FloralDiagram.h"
#include "organs/FloralFormula.h"
#include "organs/FlowerStemNode.h"
#include "organs/FlowerTorusNode.h"
#include "ui/FDParameterDlg.h"
#include "ui/ParameterDlg.h"
#include "ui/ViewManager.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QPushButton>
#include <QSpinBox>

#include <cmath>

namespace {

// The two modeless dialogs as the running program has them, acting on the work
// object.
class DialogsTest : public ShellFixture {
protected:
    void SetUp() override { start(); }

    template <typename Widget> static Widget* control(QDialog& dialog, const char* name) {
        auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // A new flower as the work object, bound to the diagram.
    FlowerTorusNode* newFlower() {
        appController().setWorkObject(std::make_unique<FlowerTorusNode>(
            appController().nextId(), appController().settings().parameters.receptacle));
        auto* torus = static_cast<FlowerTorusNode*>(appController().workObject());
        floralDiagram().bindNewFlower(torus);
        return torus;
    }

    static FDParameterDlg& floral() { return viewManager().floralDiagramDialog(); }
    static ParameterDlg& parameters() { return viewManager().parameterDialog(); }
};

} // namespace

TEST_F(DialogsTest, FloralCountsEditTheBoundReceptacle) {
    FlowerTorusNode* torus = newFlower();
    QSpinBox* petals = control<QSpinBox>(floral(), "PetalCount");
    QCheckBox* indefinite = control<QCheckBox>(floral(), "PetalIndefinite");
    ASSERT_TRUE(petals && indefinite);
    EXPECT_EQ(petals->value(), 6);
    EXPECT_EQ(control<QSpinBox>(floral(), "PistilCount")->value(), 1);
    // The rotation angle shows degrees, with one decimal, and is kept in tenths.
    QDoubleSpinBox* rotation = control<QDoubleSpinBox>(floral(), "RotationAngle");
    ASSERT_NE(rotation, nullptr);
    EXPECT_DOUBLE_EQ(rotation->value(), 137.5);
    rotation->setValue(99.9);
    EXPECT_EQ(floral().settings().rotationTenths, 999);

    petals->setValue(9);
    ASSERT_EQ(torus->whorl(kWhorlPetal).parts.size(), 9u);
    EXPECT_EQ(torus->whorl(kWhorlPetal).parts[8]->object, nullptr);
    petals->setValue(4);
    EXPECT_EQ(torus->whorl(kWhorlPetal).parts.size(), 4u);

    indefinite->click();
    EXPECT_FALSE(petals->isEnabled());
    EXPECT_TRUE(torus->whorl(kWhorlPetal).isBand());
    EXPECT_EQ(petals->value(), static_cast<int>(torus->whorl(kWhorlPetal).parts.size()));
    indefinite->click();
    EXPECT_TRUE(petals->isEnabled());
    EXPECT_FALSE(torus->whorl(kWhorlPetal).isBand());
    EXPECT_TRUE(torus->whorl(kWhorlPetal).parts.empty());

    // Once the receptacle is gone, counts change nothing and nothing breaks.
    appController().setWorkObject(nullptr);
    petals->setValue(12);
    EXPECT_EQ(floralDiagram().receptacle(), nullptr);
}

TEST_F(DialogsTest, StemWidthActsOnStemsAndWidenableReceptaclesOnly) {
    QSpinBox* width = control<QSpinBox>(parameters(), "Width Stem");
    ASSERT_NE(width, nullptr);

    FlowerTorusNode* torus = newFlower();
    width->setValue(300);
    EXPECT_NEAR(torus->m_basicCurve.back().x, 0.03, 1e-12) << "the base widened to the width";

    // A receptacle whose base is on the axis has no radius to scale.
    Stroke pointed;
    for (int i = 0; i <= 4; ++i)
        pointed.add({0.1 * std::sin(i * 0.785), 0.5 - 0.125 * i, 0.0});
    pointed.points.back().x = 0.0;
    torus->setProfile(20, 20, pointed);
    ASSERT_EQ(torus->m_basicCurve.back().x, 0.0);
    const PointList before = torus->m_basicCurve.points;
    width->setValue(200);
    EXPECT_EQ(torus->m_basicCurve.points, before);
    EXPECT_EQ(appController().settings().parameters.stemWidthSteps, 200);

    Stroke axis;
    for (int i = 0; i < 10; ++i)
        axis.add({0.0, 0.1 * i, 0.0});
    appController().setWorkObject(std::make_unique<FlowerStemNode>(
        appController().nextId(), axis, appController().settings().parameters));
    auto* stem = static_cast<FlowerStemNode*>(appController().workObject());
    EXPECT_DOUBLE_EQ(stem->radius, 0.02) << "built with the dialog's width";
    width->setValue(120);
    EXPECT_DOUBLE_EQ(stem->radius, 0.012);

    // Reading the target's width back does not act on it.
    stem->radius = 0.03336;
    control<QPushButton>(parameters(), "GetParameter")->click();
    EXPECT_EQ(width->value(), 334);
    EXPECT_DOUBLE_EQ(stem->radius, 0.03336);
}

// A formula typed into the floral diagram dialog sets the whorls of the flower
// head as one step, and the flower head's own formula is the text typed; a
// formula the dialog cannot read is said in it and changes nothing.
TEST_F(DialogsTest, ATypedFormulaGivesTheFlowerHeadThatWritesItBack) {
    newFlower();
    floral().show();
    QLineEdit* entry = control<QLineEdit>(floral(), "FormulaEntry");
    QLabel* message = control<QLabel>(floral(), "FormulaMessage");
    ASSERT_TRUE(entry && message);
    const auto type = [&](const char* text) {
        entry->setText(QString::fromUtf8(text));
        QTest::keyClick(entry, Qt::Key_Return);
    };
    const auto workFormula = [] {
        return floralFormula(*asTorus(appController().workObject()));
    };
    for (const char* formula : {"K5 C5 A10 G1", "K4 C4 A6 G2", "K3 C3 A\u221e G\u221e"}) {
        const std::size_t steps = appController().history().steps();
        type(formula);
        EXPECT_EQ(workFormula(), formula);
        EXPECT_EQ(appController().history().steps(), steps + 1);
        EXPECT_TRUE(message->text().isEmpty());
    }
    // The dialog's counts follow, and "inf" reads as indefinite.
    EXPECT_TRUE(control<QCheckBox>(floral(), "StamenIndefinite")->isChecked());
    type("k5 c5 a inf g1");
    EXPECT_EQ(workFormula(), "K5 C5 A\u221e G1");

    const std::size_t steps = appController().history().steps();
    for (const char* unreadable : {"K5 C5 A10 G1 X", "K5 K4", "A1001", ""}) {
        type(unreadable);
        EXPECT_FALSE(message->text().isEmpty()) << unreadable;
        EXPECT_EQ(workFormula(), "K5 C5 A\u221e G1");
    }
    EXPECT_NE(message->text().indexOf("empty"), -1);
    EXPECT_EQ(appController().history().steps(), steps);

    ASSERT_TRUE(appController().undo());
    EXPECT_EQ(workFormula(), "K3 C3 A\u221e G\u221e");
}
