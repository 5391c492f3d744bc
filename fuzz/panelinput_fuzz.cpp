// Anything typed into the control panel's address and data boxes: an accepted address is
// 0-255 and shown as the box's new text, an accepted data byte is 0-255.
#include "FuzzCheck.h"
#include "panel/PanelInput.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view typed(reinterpret_cast<const char*>(data), size);

    const panel::AddressEntry address = panel::addressFromText(typed);
    if (address.accepted) {
        check(address.value >= 0 && address.value <= panel::MaxAddress);
        check(!address.text.empty() && address.text.size() <= std::max<size_t>(size, 3));
        // What the box shows afterwards is accepted as it stands and names the same address.
        const panel::AddressEntry again = panel::addressFromText(address.text);
        check(again.accepted && again.value == address.value && again.text == address.text);
    }

    const panel::DataEntry value = panel::dataFromHexText(typed);
    if (value.accepted) {
        check(value.value >= 0 && value.value <= 255);
        check(size <= 2);
    }
    return 0;
}
