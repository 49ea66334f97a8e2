#pragma once

// The virtual mouse's shared state behind its two faces, the hidapi functions
// (HidapiSurface.cpp) and the test-side access (VirtualMouse.cpp): the firmware model, the
// interfaces, the faults, the traffic log and the open handles, all under one lock.

#include "Firmware.h"

#include <hidapi.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <vector>

struct hid_device_ {
    vmouse::Interface iface;
    bool nonblocking = false;
    hid_device_info info{};
};

namespace vmouse {

constexpr size_t logCap = 200000;

struct Sim {
    std::mutex m;
    std::condition_variable cv;

    Firmware fw;
    State &st = fw.st;
    std::vector<Interface> ifaces;
    Faults faults;
    int commandCalls = 0;
    bool gone = false;

    std::vector<LogEntry> log;
    std::vector<Bytes> cmds;
    int undecodable = 0;
    int badHandles = 0;
    std::set<hid_device *> open;
    std::deque<Bytes> vendorQueue;

    std::string stateFile;
    std::FILE *trafficFile = nullptr;

    Sim() {
        resetLocked();
#ifdef VMOUSE_PRELOAD
        // Preloaded into the real program: the state lives in a file between runs.
        std::string path;
        if (const char *env = std::getenv("VIRTUAL_MOUSE_STATE"); env && *env)
            path = env;
        else if (const char *home = std::getenv("HOME"); home && *home)
            path = std::string(home) + "/.local/state/q7config/virtual-mouse.txt";
        if (!path.empty())
            attachStateFile(path);
        if (const char *env = std::getenv("VIRTUAL_MOUSE_LOG"); env && *env)
            trafficFile = std::fopen(env, "a");
        // Faults from the start on, so that the real program meets a misbehaving mouse.
        if (const char *env = std::getenv("VIRTUAL_MOUSE_FAULTS"); env && *env) {
            std::vector<std::string> problems;
            faults = parseFaults(env, problems);
            for (const std::string &p : problems)
                std::fprintf(stderr, "virtual mouse: VIRTUAL_MOUSE_FAULTS: %s\n", p.c_str());
        }
#endif
    }

    void resetLocked() {
        st = factoryState();
        ifaces = mouseInterfaces(commandPath, vendorPath);
        faults = Faults{};
        commandCalls = 0;
        gone = false;
        log.clear();
        cmds.clear();
        undecodable = 0;
        badHandles = 0;
        vendorQueue.clear();
        fw.clearExchange();
        cv.notify_all();
    }

    void attachStateFile(const std::string &path) {
        stateFile = path;
        if (path.empty())
            return;
        State loaded = st;
        if (loadStateFile(path, loaded))
            st = loaded;
        else
            persist();
    }

    void persist() {
        if (stateFile.empty())
            return;
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(stateFile).parent_path(), ec);
        saveStateFile(stateFile, st);
    }

    LogEntry &addLog(Dir dir, const std::string &path, const std::uint8_t *data, size_t n) {
        if (log.size() >= logCap)
            log.erase(log.begin(), log.begin() + logCap / 2);
        LogEntry e;
        e.dir = dir;
        e.path = path;
        if (data && n)
            e.bytes.assign(data, data + n);
        e.at = std::chrono::steady_clock::now();
        log.push_back(std::move(e));
        return log.back();
    }

    void trace(const LogEntry &e) {
        if (!trafficFile)
            return;
        static const char *const names[] = {"enumerate", "open",   "close", "feature",
                                            "answer",    "output", "input"};
        std::fprintf(trafficFile, "%s %s %d", names[int(e.dir)], e.path.c_str(), e.result);
        for (auto b : e.bytes)
            std::fprintf(trafficFile, " %02x", b);
        if (!e.clear.empty()) {
            std::fprintf(trafficFile, " | clear");
            for (auto b : e.clear)
                std::fprintf(trafficFile, " %02x", b);
        }
        std::fputc('\n', trafficFile);
        std::fflush(trafficFile);
    }

    bool mouseAbsent() const { return faults.absent || gone; }

    // Counts a call on a command interface; true when the mouse has (just) been unplugged.
    bool countCommandCall(const Interface &i) {
        if (i.role != Role::Command)
            return mouseAbsent();
        ++commandCalls;
        if (faults.unplugAtCall > 0 && commandCalls >= faults.unplugAtCall && !gone) {
            gone = true;
            cv.notify_all();
        }
        return mouseAbsent();
    }

    bool known(hid_device *d) {
        if (d && open.count(d))
            return true;
        ++badHandles;
        return false;
    }
};

// The one simulation of the process.
Sim &sim();

} // namespace vmouse
