// Reading the largest profile file an import takes (1 MiB) in its worst shapes, against a plain
// file of the same size: key lines, the form the program writes. The shapes are those that
// cost a reader more than their size: lines that open a section and never close it, one list
// of the most elements, unclosed quotes, line-continuation escapes. Linear reading keeps
// every ratio near 1; a search to the end of the file per line gave seconds for the first.

#include "Median.h"
#include "PickedFile.h"
#include "Qt48Ini.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

namespace {

constexpr qint64 size = pickedfile::profileMaxBytes;
volatile qsizetype kept = 0;

QByteArray filled(const std::function<QByteArray(int)> &line) {
    QByteArray out;
    out.reserve(size + 64);
    for (int i = 0; out.size() < size; ++i)
        out += line(i);
    out.truncate(size);
    return out;
}

double parseMs(const QByteArray &data, int rounds) {
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        const qt48ini::Document doc = qt48ini::parse(data, qt48ini::Codec::Latin1);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        kept = doc.entries.size(); // the parse must not be optimised away
    }
    return median(times);
}

} // namespace

int main() {
    const int rounds = 7;
    const QByteArray plain = filled([](int i) {
        return QByteArray("[g") + QByteArray::number(i / 16) + "]\n" + QByteArray::number(i) +
               "=1, 2, 3, 4, 5, 6, 7, 8\n";
    });
    const double reference = parseMs(plain, rounds);
    std::printf("plain key lines, %lld bytes: %.2f ms (reference)\n", size, reference);
    const struct {
        const char *name;
        QByteArray data;
    } shapes[] = {
        {"'[' lines", filled([](int) { return QByteArray("[\n"); })},
        {"one list of single digits", "[profile_sw]\n0=" + filled([](int) { return QByteArray("0,"); })},
        {"unclosed quotes", filled([](int i) { return QByteArray::number(i) + "=\"a\n"; })},
        {"escaped line ends", "[g]\nk=" + filled([](int) { return QByteArray("a\\\n"); })},
    };
    for (const auto &shape : shapes)
        std::printf("%-28s ratio %.2f\n", shape.name, parseMs(shape.data, rounds) / reference);
    return 0;
}
