#pragma once

#include <atomic>
#include <memory>

// Turns Ctrl-C into a cancel of the running device operation. While an object
// lives, Ctrl-C (SIGINT on POSIX, the console's control handler on Windows)
// only raises Flag(), which the serial link looks at before every frame and
// in its waits; the operation then ends as cancelled and closes its port and
// removes its temporary files on its usual way out. Further Ctrl-Cs while it
// cancels change nothing. The handling that was there before comes back when
// the object goes. A SIGINT that the program was started with ignored (a
// background job of a shell) stays ignored.
class InterruptCancel {
public:
    InterruptCancel();
    ~InterruptCancel();
    InterruptCancel(const InterruptCancel&) = delete;
    InterruptCancel& operator=(const InterruptCancel&) = delete;

    const std::atomic<bool>& Flag() const;

private:
    // What was installed before, to put back.
    struct Previous;
    std::unique_ptr<Previous> previous_;
};
