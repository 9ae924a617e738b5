#include "ui/AutomaticRotation.h"

#include "control/AppController.h"
#include "gl/TOGL.h"
#include "interaction/Camera.h"
#include "ui/ViewManager.h"

#include <QEvent>

AutomaticRotation::AutomaticRotation(QObject* parent) : QObject(parent) {
    timer_.setInterval(kAutomaticRotationPauseMs);
    connect(&timer_, &QTimer::timeout, this, [this] { step(); });
}

void AutomaticRotation::toggle(QObject* view) {
    if (running()) {
        stop();
        return;
    }
    stepsTaken_ = 0;
    view_ = view;
    if (view_)
        view_->installEventFilter(this);
    timer_.start();
}

void AutomaticRotation::stop() {
    if (!running())
        return;
    timer_.stop();
    if (view_)
        view_->removeEventFilter(this);
    view_ = nullptr;
    // The picks were taken before the turn: the view is painted and picked anew.
    appController().commit(kChangeMainView);
}

bool AutomaticRotation::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        stop();
    return QObject::eventFilter(watched, event);
}

void AutomaticRotation::step() {
    viewManager().mainContext()->orbit(kAutomaticRotationStep, 0.0);
    if (++stepsTaken_ >= kAutomaticRotationSteps)
        stop();
    else
        appController().redrawMainViewForCamera();
}
