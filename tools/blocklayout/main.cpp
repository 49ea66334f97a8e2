// Writes the interface's copy of the block layout (Q7/BlockLayout.js) from BlockLayout.h, so the
// pages read the same offsets, sizes and codings as the device link and the virtual mouse.
//
//   q7_blocklayout_gen <out.js>

#include "BlockLayout.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Field {
    const char *name;
    long value;
    bool hex = false; // offsets and codes read best as the hex the firmware documents use
};

// A top-level constant (group == nullptr) or a member of a frozen object named group.
struct Group {
    const char *name; // nullptr: the fields are top-level constants
    const char *comment;
    std::vector<Field> fields;
};

std::vector<Group> groups() {
    namespace fw = layout::profileFw;
    namespace other = layout::otherFw;
    namespace keys = layout::keyMatrix;
    namespace cmd = layout::command;
    return {
        {nullptr,
         "Sizes and counts",
         {{"blockSize", layout::blockSize},
          {"profileCount", layout::profileCount},
          {"macroSlots", layout::macroSlots}}},
        {"profileFw",
         "Firmware profile block: byte offsets, the stage and colour counts, the runs written as "
         "one",
         {{"stages", fw::stages},
          {"indicatorIndex", fw::indicatorIndex, true},
          {"lightingColours", fw::lightingColours, true},
          {"lightingColourCount", fw::lightingColourCount},
          {"stageCount", fw::stageCount, true},
          {"effect", fw::effect, true},
          {"brightness", fw::brightness, true},
          {"speed", fw::speed, true},
          {"dpi", fw::dpi, true},
          {"dpiCopy", fw::dpiCopy, true},
          {"indicatorRgb", fw::indicatorRgb, true},
          {"indicatorIndexLength", fw::indicatorIndexLength},
          {"lightingColoursLength", fw::lightingColoursLength},
          {"effectLength", fw::effectLength},
          {"dpiLength", fw::dpiLength},
          {"indicatorRgbLength", fw::indicatorRgbLength}}},
        {"otherFw",
         "Per-profile values kept outside the blocks: positions in their list",
         {{"dpiStage", other::dpiStage},
          {"reportRate", other::reportRate},
          {"ledTwinkle", other::ledTwinkle}}},
        {"keyMatrix",
         "Key matrix block",
         {{"entries", keys::entries}, {"entrySize", keys::entrySize}, {"used", keys::used}}},
        {"command",
         "Command codes",
         {{"setCurrentProfile", cmd::setCurrentProfile, true},
          {"setReportRate", cmd::setReportRate, true},
          {"setDpiStage", cmd::setDpiStage, true},
          {"setFwProfile", cmd::setFwProfile, true},
          {"setKeyMatrix", cmd::setKeyMatrix, true},
          {"setMacro", cmd::setMacro, true}}},
        {nullptr,
         "Values the firmware stores in a coding of its own",
         {{"dpiShown159", long(layout::dpiShown159)},
          {"dpiStored159", long(layout::dpiStored159), true},
          {"paletteOrange", long(layout::paletteOrange)},
          {"paletteOrangeStored", long(layout::paletteOrangeStored)}}},
    };
}

std::string number(const Field &f) {
    if (!f.hex)
        return std::to_string(f.value);
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%02lX", f.value);
    return buf;
}

std::string render() {
    std::ostringstream js;
    js << ".pragma library\n\n"
          "// Generated at build time from protocol/BlockLayout.h; edit that header, not this "
          "file.\n";
    for (const Group &g : groups()) {
        js << "\n// " << g.comment << "\n";
        if (!g.name) {
            for (const Field &f : g.fields)
                js << "var " << f.name << " = " << number(f) << ";\n";
            continue;
        }
        js << "var " << g.name << " = Object.freeze({\n";
        for (size_t i = 0; i < g.fields.size(); ++i) {
            const Field &f = g.fields[i];
            js << "    " << f.name << ": " << number(f) << (i + 1 < g.fields.size() ? "," : "");
            if (f.hex)
                js << " // " << f.value;
            js << "\n";
        }
        js << "});\n";
    }
    return js.str();
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: q7_blocklayout_gen <out.js>\n");
        return 2;
    }
    const std::string content = render();
    {
        std::ifstream old(argv[1], std::ios::binary);
        const std::string before{std::istreambuf_iterator<char>(old), {}};
        if (old && before == content)
            return 0; // leave the timestamp alone so nothing rebuilds needlessly
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write\n", argv[1]);
        return 1;
    }
    return 0;
}
