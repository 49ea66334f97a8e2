#include "HidReport.h"

namespace hidreport {

const std::array<uchar, 8> scrambleKey = {'V', 'a', 'T', 'q', 'e', 'R', 'u', 's'};

namespace {

uchar swapNibbles(uchar x) { return uchar((x << 4) | (x >> 4)); }

} // namespace

uchar checksum(const uchar *src9) {
    uchar sum = 0;
    for (int i = 1; i < featureLength - 1; ++i)
        sum = uchar(sum + src9[i]);
    return uchar(~sum);
}

void setChecksum(uchar *src9) { src9[featureLength - 1] = checksum(src9); }

std::array<uchar, featureLength> command(uchar cmd, uchar arg1, uchar arg2) {
    std::array<uchar, featureLength> r{};
    r[1] = cmd;
    r[2] = arg1;
    r[3] = arg2;
    setChecksum(r.data());
    return r;
}

void scrambleBlock(uchar *p, const std::array<uchar, 8> &code) {
    std::swap(p[0], p[5]);
    std::swap(p[1], p[4]);
    std::swap(p[2], p[7]);
    std::swap(p[3], p[6]);
    for (int i = 1; i <= 6; ++i)
        p[i] ^= code[i];
    // Rotate left by 3 bits as one big-endian 64-bit number.
    const uchar first = p[0];
    for (int k = 0; k < 7; ++k)
        p[k] = uchar((p[k] << 3) | (p[k + 1] >> 5));
    p[7] = uchar((p[7] << 3) | (first >> 5));
    for (int i = 0; i < 8; ++i)
        p[i] = uchar(p[i] + swapNibbles(scrambleKey[i]));
}

std::array<uchar, 8> codeBytes(const QString &sCode) {
    std::array<uchar, 8> code{};
    if (sCode.size() == 6) {
        for (int i = 0; i < 6; ++i)
            code[i + 1] = uchar(sCode.at(i).unicode());
    }
    return code;
}

} // namespace hidreport
