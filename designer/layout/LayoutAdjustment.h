#pragma once

#include "LayoutPushes.h"
#include "LayoutRecords.h"

// One column adjustment pass: parents moved right over the centre of their
// children, or children right under their parents, stopping at the first
// family whose pushes moved anything.
class LayoutAdjustment {
public:
    LayoutAdjustment(LayoutRecords& records, LayoutPushes& pushes) : r_(records), pushes_(pushes) {}

    // True when the pass moved anything.
    bool pass();

private:
    LayoutRecords& r_;
    LayoutPushes& pushes_;
};
