// Links the real hidapi and knows nothing of the virtual mouse: run with the virtual mouse
// preloaded, it must find it, greet it and change it, as the program would.

#include "MS_HT66FB560.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    MS_HT66FB560 dev;
    if (!linkDevice(dev, {}, QStringLiteral("04d9"), QStringLiteral("a1b7"), QString())) {
        std::puts("not found");
        return 2;
    }
    dev.hid_02H_SetCurrentProfile(4);
    dev.hid_04H_SetDPIStage(7, 4);
    uchar block[128];
    for (int i = 0; i < 128; ++i)
        block[i] = uchar(255 - i);
    dev.hid_0DH_SetKeyMatrix(4, block);
    QString version;
    dev.hid_80H_GetFWVersion(version);
    std::printf("firmware %s\n", qPrintable(version));
    return 0;
}
