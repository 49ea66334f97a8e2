#pragma once

// Test-side access to the virtual mouse: a model of the firmware behind hidapi's C
// functions (hid_init ... hid_error, implemented in VirtualMouse.cpp). Code under test calls
// the hidapi functions as usual; a test uses this header to set the mouse up, look inside
// it, read the traffic log and switch faults on. Every function here is thread-safe.
//
// The model: one firmware state (six profile blocks, six key matrices, 100 macro slots,
// current profile, per-profile report rate and DPI stage, function option, LED twinkle
// type, firmware version) reached through the interfaces listed by interfaces(). By
// default that is one mouse, 04d9:a1b7, with a command interface (usage ff00/ff00) and a
// vendor interface (ff01/0001). Several "mice" can be listed; they share the one state.
//
// The firmware checks each command report: report ID 0, length 9, checksum; with a device
// code set it first undoes the scrambling. A report it cannot decode is logged (clear
// stays empty), counted by undecodable() and otherwise ignored.

#include "FactoryBlocks.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vmouse {

using Bytes = std::vector<std::uint8_t>;
using Block = factory::Block;

enum class Role { Command, Vendor, Other };

struct Interface {
    std::string path;
    unsigned short vid = 0x04d9;
    unsigned short pid = 0xa1b7;
    unsigned short usagePage = 0;
    unsigned short usage = 0;
    int interfaceNumber = 0;
    Role role = Role::Other;
};

// Default interface paths of the one mouse that reset() installs.
extern const char *const commandPath;
extern const char *const vendorPath;

// The default pair, with other paths (for a second mouse).
std::vector<Interface> mouseInterfaces(const std::string &commandPath,
                                       const std::string &vendorPath);

struct State {
    std::array<Block, layout::profileCount> profiles{};
    std::array<Block, layout::profileCount> matrices{};
    std::array<Block, layout::macroSlots> macros{}; // slot n (1..100) at index n - 1
    std::uint8_t currentProfile = 0;
    std::array<std::uint8_t, layout::profileCount> reportRate{};
    std::array<std::uint8_t, layout::profileCount> dpiStage{};
    std::uint8_t functionOption = 0;
    std::uint8_t ledTwinkle = 0;
    std::uint8_t fwMajor = 0, fwMinor = 0;
    // Six characters: the mouse expects scrambled command reports. Empty: clear ones.
    std::string deviceCode;
};

// The factory state of FactoryBlocks.h, no device code.
State factoryState();

enum class Dir {
    Enumerate,  // hid_enumerate; bytes = vid, pid asked for (big-endian); result = count
    Open,       // hid_open_path; result 1 opened, 0 failed
    Close,      // hid_close
    FeatureOut, // hid_send_feature_report: bytes as on the wire
    Answer,     // hid_get_feature_report: the bytes handed back
    Output,     // hid_write: bytes as written (report ID first)
    Input,      // hid_read / hid_read_timeout: the bytes delivered (empty on time-out)
};

struct LogEntry {
    Dir dir = Dir::Open;
    std::string path; // the interface ("" for Enumerate)
    Bytes bytes;
    Bytes clear;       // FeatureOut: the 9-byte command as decoded; empty if undecodable
    int result = 0;    // the function's return value (Open: 1 or 0)
    int timeoutMs = 0; // Input: the time-out asked for, -1 blocking
    std::chrono::steady_clock::time_point at;
};

struct Faults {
    bool absent = false;          // nothing enumerated, every open fails
    int unplugAtCall = 0;         // > 0: the N-th call on a command interface (open, send,
                                  // get, write, read; counted since setFaults) fails and
                                  // the mouse is gone from then on
    bool failFeatureSend = false; // hid_send_feature_report returns -1
    bool failAnswer = false;      // hid_get_feature_report returns -1
    bool failWrite = false;       // hid_write returns -1
    bool silent = false;          // no data reports: command-interface reads time out
    int answerLength = 9;         // bytes the answer hands back (< 9: short answers)
    bool wrongAnswer = false;     // answers echo another command and a bad checksum
    int inputReportLength = 64;   // payload bytes per input data report (< 64: short)
    int slowMs = 0;               // every command report takes this long to be taken
};

// A fault list as a user writes it in VIRTUAL_MOUSE_FAULTS: comma-separated items, e.g.
// "silent", "unplug-at=40", "short-answer=5", "fail-write", "slow=200ms" (the README lists
// them all). Items that are unknown, malformed or out of range are skipped, each with a
// line in `problems`; the others apply.
Faults parseFaults(const std::string &text, std::vector<std::string> &problems);

// Factory state, the default mouse, no faults, empty log and vendor queue.
void reset();

State state();
void setState(const State &s);
// The code the firmware unscrambles with ("" none).
void setDeviceCode(const std::string &code);

std::vector<Interface> interfaces();
void setInterfaces(const std::vector<Interface> &list);

Faults faults();
void setFaults(const Faults &f); // also restarts the call count of unplugAtCall
bool unplugged();

std::vector<LogEntry> log();
void clearLog();
// The decoded command reports the firmware took, in order (9 bytes each).
std::vector<Bytes> commands();
// Reports the firmware could not decode (bad checksum, length, report ID, stray data).
int undecodable();
// Calls with a handle that is not open (closed twice, never opened).
int badHandleCalls();
// Handles opened and not closed yet.
int openHandles();

// A vendor input report for whoever reads a vendor interface next.
void queueVendorReport(const Bytes &report);

// Keeps the state in a human-readable file: read now (when it exists), rewritten after
// every change. "" stops that. The preloaded library calls it with VIRTUAL_MOUSE_STATE.
void setStateFile(const std::string &path);
bool loadStateFile(const std::string &path, State &out);
bool saveStateFile(const std::string &path, const State &s);

} // namespace vmouse
