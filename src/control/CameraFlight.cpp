#include "control/CameraFlight.h"

#include "control/ViewHost.h"
#include "gl/TOGL.h"

#include <QCoreApplication>
#include <QEvent>

CameraFlight::CameraFlight(std::function<void()> landed) : landed_(std::move(landed)) {
    timer_.setInterval(kFlightStepMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step();
        if (!flying() && landed_)
            landed_();
    });
}

CameraFlight::~CameraFlight() {
    stop();
}

void CameraFlight::start(ViewHost* host, const CameraPose& target) {
    land();
    TOGL* context = host ? host->mainContext() : nullptr;
    if (!context)
        return;
    // A turntable camera keeps the floor level, so it lands level too.
    const bool level = context->camera().orbitStyle == OrbitStyle::Turntable;
    host_ = host;
    poses_ = cameraFlight(context->camera().pose(), level ? levelled(target) : target);
    next_ = 0;
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) {
        land();
        return;
    }
    application->installEventFilter(this);
    timer_.start();
    step();
}

bool CameraFlight::land() {
    if (poses_.empty())
        return false;
    next_ = poses_.size() - 1;
    step();
    return true;
}

void CameraFlight::step() {
    TOGL* context = host_ ? host_->mainContext() : nullptr;
    if (!context || next_ >= poses_.size()) {
        stop();
        return;
    }
    const CameraPose& pose = poses_[next_++];
    context->setCamera(pose.eye, pose.center, pose.up);
    if (next_ == poses_.size())
        stop();
    else
        host_->redrawMainView();
}

void CameraFlight::stop() {
    if (timer_.isActive())
        timer_.stop();
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
    poses_.clear();
    next_ = 0;
    host_ = nullptr;
}

bool CameraFlight::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && land() &&
        landed_)
        landed_();
    return QObject::eventFilter(watched, event);
}
