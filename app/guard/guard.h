#pragma once

#include <functional>

// Work that the event loop starts in the parts below the window (a timer, a
// control's signal, an event seen by a filter) runs through this, so that
// what it throws ends in the application's error box instead of unwinding
// through Qt's frames. The window gives the one implementation.
class TGuard {
public:
    virtual void Run(const std::function<void()>& work) = 0;

protected:
    ~TGuard() = default;
};
