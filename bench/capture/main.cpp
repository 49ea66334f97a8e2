// Cost of one captured key event in the shared core (translation, overrides, state filter,
// callback), against a reference that does only the two ordered-map look-ups the translation
// needs, on the same event stream in the same run. The hook procedure runs under the system's
// time limit, so the core should stay within a small factor of the bare look-ups.

#include "InputHooks.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <vector>

namespace {
volatile unsigned sink = 0;
void onKey(uchar usage, uchar isDown, void *) { sink = sink + usage + isDown; }

struct Event {
    quint32 scan;
    quint32 flags;
    quintptr message;
};
} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    InputHooks hooks(false, [] { return std::unique_ptr<CaptureBackend>(); });
    InputHooks::setKeyboardCallback(onKey, nullptr);

    // Every translatable key pressed, repeated twice, released; plus keys without an entry.
    std::vector<Event> stream;
    for (const auto &[key, vk] : InputHooks::scanToVk()) {
        const quint32 scan = key >> 8, flags = key & 1;
        stream.push_back({scan, flags, HookMessage::KeyDown});
        stream.push_back({scan, flags, HookMessage::KeyDown});
        stream.push_back({scan, flags, HookMessage::KeyDown});
        stream.push_back({scan, flags, HookMessage::KeyUp});
    }
    for (quint32 scan : {0u, 0x54u, 0x64u, 0x76u})
        stream.push_back({scan, 0, HookMessage::KeyDown});

    const ScanToVkMap &scanToVk = InputHooks::scanToVk();
    const VkToUsageMap &vkToUsage = InputHooks::vkToUsage();
    auto reference = [&] {
        for (const Event &e : stream) {
            const auto a = scanToVk.find(quint16(e.scan << 8 | e.flags));
            if (a == scanToVk.end())
                continue;
            const auto b = vkToUsage.find(a->second);
            if (b != vkToUsage.end())
                sink = sink + b->second;
        }
    };
    auto core = [&] {
        for (const Event &e : stream)
            InputHooks::keyboardEvent(HookMessage::Action, e.message, e.scan, e.flags);
    };

    reference();
    core();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < rounds; ++i)
        reference();
    const double referenceNs = double(t.nsecsElapsed());
    t.restart();
    for (int i = 0; i < rounds; ++i)
        core();
    const double coreNs = double(t.nsecsElapsed());

    const double events = double(rounds) * double(stream.size());
    std::printf("key events: %.0f\n", events);
    std::printf("reference (two look-ups): %.1f ns/event\n", referenceNs / events);
    std::printf("core (translate + filter + callback): %.1f ns/event\n", coreNs / events);
    std::printf("ratio core/reference: %.2f\n", coreNs / referenceNs);
    return 0;
}
