#pragma once

// Property answers that are fixed: no member of the service object holds
// them.

// ServiceObjectVersion (index 8), also printed by CheckHealth.
constexpr long ServiceObjectVersion = 1011001;

// What GetPropertyNumber gives for an index: a value, or nothing written
// to the caller's variable.
struct FixedNumber {
    bool Written;
    long Value;
};

// The fixed answer of a numeric property index: the constants, the indexes
// that write nothing, the capabilities; 0 for an index in no table.
FixedNumber FixedPropertyNumber(long index);
