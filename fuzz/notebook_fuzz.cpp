// Any "Notebook.txt": the buffer is always 32000 characters, the text box never gets a CR,
// and the box text goes back into the buffer taking the characters bufferLength counts.
#include "FuzzCheck.h"
#include "auxiliary/NotebookText.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    const std::string buffer = auxiliary::bufferFromFile(file);
    check(buffer.size() == auxiliary::BufferLength);
    check(buffer.compare(0, std::min(size, buffer.size()), file, 0,
                         std::min(size, buffer.size())) == 0);

    const std::string box = auxiliary::textForBox(buffer);
    check(box.find('\r') == std::string::npos);
    check(box.size() <= buffer.size());
    check(box.empty() || box.back() != ' ');

    const std::string back = auxiliary::boxToBufferText(box);
    check(back.size() == auxiliary::bufferLength(box));
    // Line ends are the only change: the box shows the same text again.
    check(auxiliary::textForBox(auxiliary::toBuffer(back)) == box || back.size() > buffer.size());
    return 0;
}
