#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

// Turns the main camera once around its centre, one step per timer tick, so that
// the window keeps painting and answering while it turns. A mouse press in the
// watched view stops the turn where it is.
class AutomaticRotation final : public QObject {
public:
    explicit AutomaticRotation(QObject* parent = nullptr);

    // Starts a full turn watching `view` for mouse presses, or stops a running one.
    void toggle(QObject* view);
    void stop();
    bool running() const { return timer_.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step();

    QTimer timer_;
    int stepsTaken_ = 0;
    QPointer<QObject> view_;
};
