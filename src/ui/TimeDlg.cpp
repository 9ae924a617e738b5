#include "ui/TimeDlg.h"

#include "control/AppController.h"
#include "organs/FlowerTorusNode.h"
#include "ui/DialogPlacement.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <cmath>

namespace {

// By ring from the innermost whorl outwards, as the floral diagram lists them.
constexpr const char* kWhorlCaptions[4] = {"Pistils", "Stamens", "Petals", "Sepals"};
constexpr int kPlayTickMilliseconds = 30;

QDoubleSpinBox* spanBox(const QString& name) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setRange(0.0, 1.0);
    box->setDecimals(2);
    box->setSingleStep(0.05);
    return box;
}

} // namespace

TimeDlg::TimeDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Time"));
    makeModeless(*this);
    auto* grid = new QGridLayout(this);
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName(QStringLiteral("Time"));
    slider_->setRange(0, kSteps);
    slider_->setPageStep(kSteps / 10);
    timeLabel_ = new QLabel;
    play_ = new QPushButton(QStringLiteral("Play"));
    play_->setObjectName(QStringLiteral("Play"));
    topFirst_ = new QCheckBox(QStringLiteral("Plants open from the top down"));
    topFirst_->setObjectName(QStringLiteral("TopFirst"));
    grid->addWidget(new QLabel(QStringLiteral("Bud")), 0, 0);
    grid->addWidget(slider_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Open")), 0, 4);
    grid->addWidget(timeLabel_, 1, 1);
    grid->addWidget(play_, 1, 3);
    grid->addWidget(topFirst_, 2, 0, 1, 5);
    spansNote_ = new QLabel;
    grid->addWidget(spansNote_, 3, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("opens from")), 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("until")), 4, 2);
    for (int ring = 0; ring < 4; ++ring) {
        const QString caption = QString::fromLatin1(kWhorlCaptions[ring]);
        starts_[ring] = spanBox(caption + QStringLiteral("Start"));
        ends_[ring] = spanBox(caption + QStringLiteral("End"));
        grid->addWidget(new QLabel(caption), 5 + ring, 0);
        grid->addWidget(starts_[ring], 5 + ring, 1);
        grid->addWidget(ends_[ring], 5 + ring, 2);
        connect(starts_[ring], &QDoubleSpinBox::valueChanged, this,
                [this, ring] { spanChanged(ring, true); });
        connect(ends_[ring], &QDoubleSpinBox::valueChanged, this,
                [this, ring] { spanChanged(ring, false); });
    }
    timer_ = new QTimer(this);
    timer_->setInterval(kPlayTickMilliseconds);
    connect(timer_, &QTimer::timeout, this, &TimeDlg::playStep);
    connect(slider_, &QSlider::valueChanged, this, &TimeDlg::sliderMoved);
    // A drag repaints the main view only; its release publishes the new time, which
    // refreshes the picks and the status bar.
    connect(slider_, &QSlider::sliderReleased, this,
            [] { appController().commit(kChangeMainView | kChangeOverallView); });
    connect(play_, &QPushButton::clicked, this, &TimeDlg::togglePlay);
    connect(topFirst_, &QCheckBox::toggled, this, [](bool on) {
        AppController& controller = appController();
        controller.settings().bloom.topFirst = on;
        controller.commit(kChangeMainView | kChangeOverallView);
    });
    refresh();
    ready_ = true;
}

void TimeDlg::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
    if (placed_ || !anchor_)
        return;
    placed_ = true;
    placeBeside(*this, *anchor_, true);
}

FlowerTorusNode* TimeDlg::shownFlowerHead() {
    return asTorus(appController().targetObject());
}

void TimeDlg::refresh() {
    const bool wasReady = ready_;
    ready_ = false;
    const BloomSettings& bloom = appController().settings().bloom;
    slider_->setValue(static_cast<int>(std::lround(bloom.time * kSteps)));
    timeLabel_->setText(QStringLiteral("time %1").arg(bloom.time, 0, 'f', 2));
    topFirst_->setChecked(bloom.topFirst);
    const FlowerTorusNode* head = shownFlowerHead();
    spansNote_->setText(head ? QStringLiteral("Each whorl of flower head %1 opens:").arg(head->id)
                             : QStringLiteral("Focus a flower head to set when its whorls open."));
    const BloomSchedule schedule = head ? head->bloom : BloomSchedule{};
    for (int ring = 0; ring < 4; ++ring) {
        const OpeningSpan& span = schedule.span(kWhorlsInsideOut[ring]);
        starts_[ring]->setValue(span.start);
        ends_[ring]->setValue(span.end);
        starts_[ring]->setEnabled(head != nullptr);
        ends_[ring]->setEnabled(head != nullptr);
    }
    ready_ = wasReady;
}

void TimeDlg::sliderMoved(int step) {
    if (!ready_)
        return;
    const double time = static_cast<double>(step) / kSteps;
    timeLabel_->setText(QStringLiteral("time %1").arg(time, 0, 'f', 2));
    AppController& controller = appController();
    if (slider_->isSliderDown() || playing()) {
        controller.showBloomAt(time);
    } else {
        controller.settings().bloom.time = time;
        controller.commit(kChangeMainView | kChangeOverallView);
    }
}

bool TimeDlg::playing() const {
    return timer_->isActive();
}

void TimeDlg::togglePlay() {
    if (playing()) {
        timer_->stop();
        play_->setText(QStringLiteral("Play"));
        appController().commit(kChangeMainView | kChangeOverallView);
        return;
    }
    if (slider_->value() >= kSteps)
        slider_->setValue(0);
    play_->setText(QStringLiteral("Pause"));
    timer_->start();
}

void TimeDlg::playStep() {
    const int step = slider_->value() + kSteps * kPlayTickMilliseconds / kPlayMilliseconds;
    slider_->setValue(std::min(step, kSteps));
    if (step >= kSteps)
        togglePlay();
}

void TimeDlg::spanChanged(int ring, bool startSet) {
    if (!ready_)
        return;
    FlowerTorusNode* head = shownFlowerHead();
    if (!head)
        return;
    double start = starts_[ring]->value();
    double end = ends_[ring]->value();
    if (end < start) {
        if (startSet)
            end = start;
        else
            start = end;
    }
    OpeningSpan& span = head->bloom.span(kWhorlsInsideOut[ring]);
    if (span.start == start && span.end == end)
        return;
    span = {start, end};
    AppController& controller = appController();
    controller.noteEdited(head->id);
    controller.commit(controller.targetChange(), "Change opening span");
    refresh();
}
