// Arbitrary bytes as the virtual mouse's state file, which users edit by hand. Beyond
// sanitizer reports it checks that whatever was read is a state the firmware model can
// hold (current profile 0-5) and that it survives the model's own save and load unchanged,
// so a hand-edited file settles after one run instead of drifting.

#include "FuzzSupport.h"
#include "VirtualMouse.h"

#include <cstdint>
#include <string>

namespace {

bool same(const vmouse::State &a, const vmouse::State &b) {
    return a.profiles == b.profiles && a.matrices == b.matrices && a.macros == b.macros &&
           a.currentProfile == b.currentProfile && a.reportRate == b.reportRate &&
           a.dpiStage == b.dpiStage && a.functionOption == b.functionOption &&
           a.ledTwinkle == b.ledTwinkle && a.fwMajor == b.fwMajor && a.fwMinor == b.fwMinor &&
           a.deviceCode == b.deviceCode;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    fuzz::noteInputSize(size);
    static const std::string edited = (fuzz::scratchDir() + QStringLiteral("/mouse.txt")).toStdString();
    static const std::string saved = (fuzz::scratchDir() + QStringLiteral("/saved.txt")).toStdString();
    fuzz::writeFile(QString::fromStdString(edited), fuzz::bytesOf(data, size));

    vmouse::State first;
    FUZZ_CHECK(vmouse::loadStateFile(edited, first));
    FUZZ_CHECK(first.currentProfile <= 5);

    FUZZ_CHECK(vmouse::saveStateFile(saved, first));
    const QByteArray written = fuzz::readFile(QString::fromStdString(saved));
    vmouse::State second;
    FUZZ_CHECK(vmouse::loadStateFile(saved, second));
    FUZZ_CHECK(same(first, second));
    FUZZ_CHECK(vmouse::saveStateFile(saved, second));
    FUZZ_CHECK(fuzz::readFile(QString::fromStdString(saved)) == written);
    return 0;
}
