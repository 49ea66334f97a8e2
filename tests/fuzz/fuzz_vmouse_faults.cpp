// Arbitrary text as the virtual mouse's fault list (VIRTUAL_MOUSE_FAULTS), which whoever
// starts the program writes. Beyond sanitizer reports it checks that every value lands in
// the range the model can work with and that each skipped item was an item of the text.

#include "FuzzSupport.h"
#include "VirtualMouse.h"

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz::noteInputSize(size);
    const std::string text(reinterpret_cast<const char *>(data), size);
    std::vector<std::string> problems;
    const vmouse::Faults f = vmouse::parseFaults(text, problems);
    FUZZ_CHECK(f.unplugAtCall >= 0);
    FUZZ_CHECK(f.answerLength >= 0 && f.answerLength <= 9);
    FUZZ_CHECK(f.inputReportLength >= 0 && f.inputReportLength <= 64);
    FUZZ_CHECK(f.slowMs >= 0 && f.slowMs <= 60000);
    const auto items = size_t(std::count(text.begin(), text.end(), ',')) + 1;
    FUZZ_CHECK(problems.size() <= items);
    return 0;
}
