// A person plays a flower's bloom in the real window: the time dialog's slider
// dragged with the mouse closes the flower into its bud in the main view, the view
// refuses edits until the time is back at 1 and says so, and Play opens it again.
// With PELMORA_SCREENSHOT set the test writes the user guide's strip of the bud, the
// half-open flower and the open one there.
#include "OrganSketchingFixture.h"

#include "math/TextWriter.h"
#include "support/SamplePlants.h"
#include "ui/AnimatedFlowerDlg.h"
#include "ui/TimeDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>

namespace {

std::string recordText(const FlowerObjectNode& node) {
    TextWriter out;
    node.save(out, WriteContext{});
    return out.take();
}

// The pictures side by side, each the square of the view around `centre` that the
// flower fills.
QImage strip(const std::vector<QImage>& pictures, const QSize& view, const QPoint& centre) {
    const int side = std::min(view.width(), view.height()) * 3 / 4;
    const qreal scale = pictures.front().width() / static_cast<qreal>(view.width());
    const QRect square =
        QRect(QPoint(static_cast<int>((centre.x() - side / 2) * scale),
                     static_cast<int>((centre.y() - side / 2) * scale)),
              QSize(static_cast<int>(side * scale), static_cast<int>(side * scale))) &
        pictures.front().rect();
    QImage out(square.width() * static_cast<int>(pictures.size()), square.height(),
               QImage::Format_RGB32);
    QPainter painter(&out);
    for (size_t i = 0; i < pictures.size(); ++i)
        painter.drawImage(QPoint(static_cast<int>(i) * square.width(), 0), pictures[i], square);
    return out;
}

} // namespace

class BloomRoadTest : public OrganSketchingFixture {};

TEST_F(BloomRoadTest, TheSliderClosesTheFlowerEditsWaitAndPlayOpensItAgain) {
    frame->commands().run(kCmdShowFloor);
    ASSERT_FALSE(controller().settings().showFloor);
    auto made = samples::flower(records());
    FlowerTorusNode* flower = made.get();
    controller().setWorkObject(std::move(made));
    controller().switchToMode(kModeTorusModify);
    controller().commit(kChangeWorkObject);
    const QString editingGuidance = frame->guidance()->text();
    // The point two thirds up a petal's midrib that lies farthest across the view
    // while the flower is open.
    const QPoint middle = pixelOf({0, 0.45, 0});
    const QRect inside = QRect(QPoint(), view->size()).adjusted(4, 4, -4, -4);
    QPoint tip = middle;
    for (const auto& slot : flower->whorl(kWhorlPetal).parts) {
        const PointList& midrib = slot->object->mainAxis.points;
        const QPoint at =
            pixelOf(transformPoint(slot->organMatrix(), midrib[midrib.size() * 2 / 3]));
        if (inside.contains(at) && std::abs(at.x() - middle.x()) > std::abs(tip.x() - middle.x()))
            tip = at;
    }
    ASSERT_NE(tip, middle);
    const auto background = [&](const QColor& c) { return showsBackgroundAt(*view, *view, tip, c); };
    const auto covered = [&](const QColor& c) { return !background(c); };
    ASSERT_TRUE(covered(grabShowing(*view, *view, tip, covered).pixelColor(tip)));

    run(kCmdShowTimeDialog);
    TimeDlg& dialog = viewManager().timeDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* slider = dialog.findChild<QSlider*>(QStringLiteral("Time"));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->value(), TimeDlg::kSteps);
    // The handle dragged from the right end to the left one.
    const QPoint right(slider->width() - 3, slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, right);
    for (int x = right.x(); x > 0; x -= 20)
        QTest::mouseMove(slider, QPoint(x, right.y()));
    QTest::mouseMove(slider, QPoint(0, right.y()));
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(0, right.y()));
    EXPECT_EQ(controller().settings().bloom.time, 0.0);
    // The pictures are taken with the dialog out of the way.
    dialog.hide();
    const QImage bud = grabShowing(*view, *view, tip, background);
    dialog.show();
    EXPECT_TRUE(background(bud.pixelColor(tip))) << "the petals close into the bud";
    EXPECT_TRUE(frame->guidance()->text().contains(QStringLiteral("to edit, set the time to 1")));

    // A stroke across the flower changes nothing while it shows the bud.
    const std::string before = recordText(*flower);
    drag(Path{tip, pixelOf({0, 0.5, 0}), pixelOf({0.3, 0.2, 0})});
    EXPECT_EQ(controller().workObject(), flower);
    EXPECT_EQ(recordText(*flower), before);

    slider->setValue(TimeDlg::kSteps / 2);
    dialog.hide();
    QImage half;
    for (int attempt = 0; attempt < 100 && (half.isNull() || half == bud); ++attempt)
        half = grabShowing(*view, *view, tip, [](const QColor&) { return true; });
    EXPECT_NE(half, bud);
    dialog.show();
    auto* play = dialog.findChild<QPushButton*>(QStringLiteral("Play"));
    QTest::mouseClick(play, Qt::LeftButton);
    EXPECT_TRUE(dialog.playing());
    EXPECT_EQ(play->text(), QStringLiteral("Pause"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.playing(); }, 60000));
    EXPECT_EQ(controller().settings().bloom.time, 1.0);
    EXPECT_EQ(slider->value(), TimeDlg::kSteps);
    dialog.hide();
    const QImage open = grabShowing(*view, *view, tip, covered);
    EXPECT_TRUE(covered(open.pixelColor(tip)));
    EXPECT_EQ(frame->guidance()->text(), editingGuidance);
    saveScreenshotIfAsked(strip({bud, half, open}, view->size(), middle));
}

// A person has modelled the bud as a flower head of its own and stored it. From the
// flower head, "Import Animated Flower..." lists the stored flower heads; one with
// other slots is refused with the reason, the bud is imported, and the time dialog
// comes up. At time 0 the view shows the bud as modelled, not the bud worked out
// from the flower, which undoing the import brings back.
TEST_F(BloomRoadTest, AFlowerOpensFromABudModelledAsAFlowerHeadOfItsOwn) {
    frame->commands().run(kCmdShowFloor);
    auto made = samples::flower(records());
    auto bud = samples::handModelledBud(*made, records());
    auto look = samples::handModelledBud(*made, records());
    auto misfit = samples::handModelledBud(*made, records());
    misfit->removeLastSlots(kWhorlPetal, 1);
    const int budId = bud->id, misfitId = misfit->id;
    controller().addToLibrary(std::move(bud), kCategoryFlower);
    controller().addToLibrary(std::move(misfit), kCategoryFlower);
    controller().setWorkObject(std::move(made));
    controller().switchToMode(kModeTorusModify);
    controller().commit(kChangeWorkObject);

    const auto importDialog = [&]() -> AnimatedFlowerDlg* {
        for (QDialog* d : frame->findChildren<QDialog*>())
            if (auto* found = dynamic_cast<AnimatedFlowerDlg*>(d))
                return found;
        return nullptr;
    };
    run(kCmdImportAnimatedFlower);
    auto* dialog = importDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    auto* heads = dialog->findChild<QListWidget*>(QStringLiteral("Buds"));
    auto* import = dialog->findChild<QPushButton*>(QStringLiteral("Import"));
    auto* message = dialog->findChild<QLabel*>(QStringLiteral("Message"));
    const auto choose = [&](int id) {
        for (int row = 0; row < heads->count(); ++row)
            if (heads->item(row)->data(Qt::UserRole).toInt() == id)
                QTest::mouseClick(heads->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  heads->visualItemRect(heads->item(row)).center());
    };
    choose(misfitId);
    EXPECT_FALSE(import->isEnabled());
    EXPECT_EQ(message->text(), QStringLiteral("The bud has 5 slots for petals, the flower 6."));
    choose(budId);
    ASSERT_TRUE(import->isEnabled());
    QTest::mouseClick(import, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return importDialog() == nullptr; }));
    ASSERT_NE(asTorus(controller().workObject())->modelledBud, nullptr);
    EXPECT_TRUE(frame->statusBar()->currentMessage().contains(QStringLiteral("now opens from")));
    TimeDlg& time = viewManager().timeDialog();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&time));

    time.findChild<QSlider*>(QStringLiteral("Time"))->setValue(0);
    time.hide();
    const auto settledGrab = [&] {
        QImage last, shown;
        for (int attempt = 0; attempt < 100 && (last.isNull() || shown != last); ++attempt) {
            last = shown;
            view->renderNow();
            QTest::qWait(30);
            shown = view->screen()->grabWindow(view->winId()).toImage();
        }
        return shown;
    };
    const QImage modelled = settledGrab();
    ASSERT_TRUE(controller().undo());
    EXPECT_EQ(asTorus(controller().workObject())->modelledBud, nullptr);
    const QImage worked = settledGrab();

    // Redone, the bud is back; the dialog's other button takes it away again as a step
    // of its own.
    ASSERT_TRUE(controller().redo());
    ASSERT_NE(asTorus(controller().workObject())->modelledBud, nullptr);
    run(kCmdImportAnimatedFlower);
    dialog = importDialog();
    ASSERT_NE(dialog, nullptr);
    auto* forget = dialog->findChild<QPushButton*>(QStringLiteral("Forget"));
    ASSERT_TRUE(forget->isEnabled());
    QTest::mouseClick(forget, Qt::LeftButton);
    EXPECT_EQ(asTorus(controller().workObject())->modelledBud, nullptr);
    EXPECT_FALSE(forget->isEnabled());
    ASSERT_TRUE(controller().undo());
    EXPECT_NE(asTorus(controller().workObject())->modelledBud, nullptr);
    dialog->close();

    // The bud itself, open, in the same view.
    time.findChild<QSlider*>(QStringLiteral("Time"))->setValue(TimeDlg::kSteps);
    controller().setWorkObject(std::move(look));
    controller().commit(kChangeWorkObject);
    const QImage asModelled = settledGrab();
    const auto differing = [](const QImage& a, const QImage& b) {
        long count = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
                count += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                             std::abs(p.blue() - q.blue()) > 48;
            }
        return static_cast<double>(count) / (a.width() * a.height());
    };
    EXPECT_LT(differing(modelled, asModelled), 0.005);
    EXPECT_GT(differing(worked, asModelled), 0.02);
}
