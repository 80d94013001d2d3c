#pragma once

// The hourglass pointer while a screen reads, fills its lists or loads a file; restored however the work
// ends.
class BusyCursor final
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
