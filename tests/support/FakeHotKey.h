#pragma once

#include "platform/GlobalHotKey.h"

// A hot key that the test presses.
class FakeHotKey : public glim::GlobalHotKey {
public:
    void press() { emit pressed(); }
};
