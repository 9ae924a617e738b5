#pragma once

#include "interaction/Camera.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

class ViewHost;

// Flies the main camera to a target in steps, one per timer tick, so that the
// program keeps painting and answering while it flies. What the user does next
// starts from the target, as it would had the flight been instant: a mouse press
// anywhere in the program lands a flight at once before the press is handled, and
// so do a new flight and a command (through `land`).
class CameraFlight final : public QObject {
public:
    // `landed` runs when a flight ends at its target by itself or by a press: the
    // main view is to be repainted and picked from the target.
    explicit CameraFlight(std::function<void()> landed);
    ~CameraFlight() override;

    // Starts a flight of the host's main camera from where it is to `target`, its
    // first step taken at once; a flight still under way lands first. Without a main
    // context nothing happens; without an event loop to tick in the camera goes to
    // the target at once.
    void start(ViewHost* host, const CameraPose& target);
    // A flight under way ends at its target now, without `landed`; whether there was
    // one.
    bool land();
    // A flight under way stops where it is (its view host is going).
    void stop();
    bool flying() const { return timer_.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Puts the camera at the next pose and repaints; the last pose ends the flight.
    void step();

    std::function<void()> landed_;
    QTimer timer_;
    ViewHost* host_ = nullptr;
    std::vector<CameraPose> poses_;
    std::size_t next_ = 0;
};
