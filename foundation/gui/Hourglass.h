#pragma once

// Shows the wait cursor for the lifetime of the object; the cursor in force
// before comes back when it is destroyed.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    bool active = false;
};
