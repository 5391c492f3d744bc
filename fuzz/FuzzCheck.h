#pragma once

// A property a fuzz target checks: a violated one stops the run as a finding.
inline void check(bool condition) {
    if (!condition) __builtin_trap();
}
