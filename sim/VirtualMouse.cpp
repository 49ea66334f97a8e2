// The virtual mouse's test-side access (VirtualMouse.h) and its default interfaces.

#include "Simulation.h"

namespace vmouse {

const char *const commandPath = "virtual-mouse/0";
const char *const vendorPath = "virtual-mouse/1";

Sim &sim() {
    static Sim *s = new Sim; // never destroyed: threads may still call in at exit
    return *s;
}

std::vector<Interface> mouseInterfaces(const std::string &cmdPath, const std::string &vendPath) {
    Interface c;
    c.path = cmdPath;
    c.usagePage = 0xff00;
    c.usage = 0xff00;
    c.interfaceNumber = 1;
    c.role = Role::Command;
    Interface v;
    v.path = vendPath;
    v.usagePage = 0xff01;
    v.usage = 0x0001;
    v.interfaceNumber = 2;
    v.role = Role::Vendor;
    return {c, v};
}

namespace {

// Runs f on the simulation under its lock.
template <class F> auto locked(F f) {
    Sim &s = sim();
    std::lock_guard<std::mutex> lock(s.m);
    return f(s);
}

} // namespace

void reset() {
    locked([](Sim &s) {
        s.resetLocked();
        s.persist();
    });
}

State state() {
    return locked([](Sim &s) { return s.st; });
}

void setState(const State &st) {
    locked([&](Sim &s) {
        s.st = st;
        s.persist();
    });
}

void setDeviceCode(const std::string &code) {
    locked([&](Sim &s) {
        s.st.deviceCode = code;
        s.persist();
    });
}

std::vector<Interface> interfaces() {
    return locked([](Sim &s) { return s.ifaces; });
}

void setInterfaces(const std::vector<Interface> &list) {
    locked([&](Sim &s) { s.ifaces = list; });
}

Faults faults() {
    return locked([](Sim &s) { return s.faults; });
}

void setFaults(const Faults &f) {
    locked([&](Sim &s) {
        s.faults = f;
        s.commandCalls = 0;
        s.gone = false;
        s.cv.notify_all();
    });
}

bool unplugged() {
    return locked([](Sim &s) { return s.gone; });
}

std::vector<LogEntry> log() {
    return locked([](Sim &s) { return s.log; });
}

void clearLog() {
    locked([](Sim &s) {
        s.log.clear();
        s.cmds.clear();
        s.undecodable = 0;
    });
}

std::vector<Bytes> commands() {
    return locked([](Sim &s) { return s.cmds; });
}

int undecodable() {
    return locked([](Sim &s) { return s.undecodable; });
}

int badHandleCalls() {
    return locked([](Sim &s) { return s.badHandles; });
}

int openHandles() {
    return locked([](Sim &s) { return int(s.open.size()); });
}

void queueVendorReport(const Bytes &report) {
    locked([&](Sim &s) {
        s.vendorQueue.push_back(report);
        s.cv.notify_all();
    });
}

void setStateFile(const std::string &path) {
    locked([&](Sim &s) { s.attachStateFile(path); });
}

} // namespace vmouse
