#pragma once

// The window messages a view forwards to its listener, in the order of the
// listener's operations.
enum class MouseMessage {
    LButtonUp,
    RButtonUp,
    MButtonUp,
    LButtonDown,
    RButtonDown,
    MButtonDown,
    LButtonDblClk,
    RButtonDblClk,
    MButtonDblClk,
    MouseMove,
};

// An interaction mode: one operation per mouse message of a view (x and y are
// client coordinates, y growing downwards) and one overlay draw that the main view
// calls in every paint after the scene, with its context current. Every mode is a
// singleton that keeps its state while other modes are active.
class MouseListenerState {
public:
    MouseListenerState() = default;
    MouseListenerState(const MouseListenerState&) = delete;
    MouseListenerState& operator=(const MouseListenerState&) = delete;

    virtual void onLButtonUp(int x, int y) = 0;
    virtual void onRButtonUp(int x, int y) = 0;
    virtual void onMButtonUp(int x, int y) = 0;
    virtual void onLButtonDown(int x, int y) = 0;
    virtual void onRButtonDown(int x, int y) = 0;
    virtual void onMButtonDown(int x, int y) = 0;
    virtual void onLButtonDblClk(int x, int y) = 0;
    virtual void onRButtonDblClk(int x, int y) = 0;
    virtual void onMButtonDblClk(int x, int y) = 0;
    virtual void onMouseMove(int x, int y) = 0;
    virtual void onDraw() = 0;

    // The button went down in this state and has not come up yet.
    bool leftDown = false;
    bool rightDown = false;
    bool middleDown = false;

protected:
    // Listeners are destroyed as their own class, never through this base.
    ~MouseListenerState() = default;
};

// Calls the listener's operation for the message.
void deliverMouseMessage(MouseListenerState& listener, MouseMessage message, int x, int y);

// A mode whose operations do nothing yet; the modes derive from it until they act.
class InactiveMouseListener : public MouseListenerState {
public:
    void onLButtonUp(int, int) override {}
    void onRButtonUp(int, int) override {}
    void onMButtonUp(int, int) override {}
    void onLButtonDown(int, int) override {}
    void onRButtonDown(int, int) override {}
    void onMButtonDown(int, int) override {}
    void onLButtonDblClk(int, int) override {}
    void onRButtonDblClk(int, int) override {}
    void onMButtonDblClk(int, int) override {}
    void onMouseMove(int, int) override {}
    void onDraw() override {}

protected:
    ~InactiveMouseListener() = default;
};
