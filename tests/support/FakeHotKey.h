#pragma once

#include "platform/GlobalHotKey.h"

// A hot key that the test presses.
class FakeHotKey : public glim::GlobalHotKey {
public:
    bool isGrabbed() const override { return true; }
    void press() { emit pressed(); }
};
