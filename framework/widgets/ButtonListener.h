// Receives what a push button reports; every callback does nothing unless overridden.
#pragma once

namespace Vel {

class ButtonListener {
public:
    virtual ~ButtonListener() = default;

    // clickCount is 1 for a single press and 2 for a double click.
    virtual void OnButtonPress(int id, int clickCount)
    {
        (void)clickCount;
        OnButtonPress(id);
    }
    virtual void OnButtonPress(int id) { (void)id; }
    // The activation: the button was released with the pointer still on it.
    virtual void OnButtonClick(int id) { (void)id; }
    // Every update tick while the button is held and the pointer is on it.
    virtual void OnButtonHeldTick(int id) { (void)id; }
    virtual void OnButtonHoverStart(int id) { (void)id; }
    virtual void OnButtonHoverEnd(int id) { (void)id; }
    virtual void OnButtonHoverMove(int id, int x, int y)
    {
        (void)id;
        (void)x;
        (void)y;
    }
};

} // namespace Vel
