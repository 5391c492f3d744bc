#pragma once
#include "coil/CoilDocument.h"
#include <string>
#include <string_view>

namespace coil {

// What the coil window shows beside its values: which controls take input, and its caption.

struct CoilEnables {
    bool values = false; // the dwell lists, the number boxes and their scroll bars
    bool CommProgBobinaMS_1 = false;
    bool CommProgBobinaMS_2 = false;
};

struct CoilWindowState {
    // The unit answers memory requests: programming mode or EEPROM access, whichever window
    // asked for it.
    bool memoryAnswers = false;
    bool transferring = false;
    // A dwell was chosen since the program was opened or saved: the caption ends in "*".
    bool dwellChanged = false;

    CoilEnables enables() const {
        CoilEnables e;
        e.values = !transferring;
        e.CommProgBobinaMS_1 = e.CommProgBobinaMS_2 = memoryAnswers && !transferring;
        return e;
    }
    std::string caption(std::string_view path) const {
        return captionFor(path) + (dwellChanged ? "*" : "");
    }
};

} // namespace coil
