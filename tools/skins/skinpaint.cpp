// Paints the interface's skin images. Each skin is one palette over the same drawings, so a
// second skin costs a colour, not a second set of pictures.
//
//   q7_skinpaint <list of images> <output folder>    paints every skin the list names
//   q7_skinpaint <list of images> --qml <file>        writes the interface's image paths
//
// Every image named in the list must have a painter here and every painter must be listed;
// either mismatch fails the build.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>
#include <QtMath>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

struct Skin {
    int number = 0;
    QColor accent;
    QColor hot; // pressed or selected highlights, a lighter accent
};

const QColor kIcon(0x9a, 0xa3, 0xad);
const QColor kPanelTop(0x1b, 0x1e, 0x25);
const QColor kPanelBottom(0x10, 0x12, 0x17);

QColor alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

QImage canvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

struct Painter : QPainter {
    explicit Painter(QImage *image) : QPainter(image) { setRenderHint(QPainter::Antialiasing); }
};

QPen pen(const QColor &c, qreal width) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A dark rounded panel with a hairline border; the workhorse of every container.
void panel(QPainter &p, const QRectF &r, qreal radius, int fillAlpha, const QColor &border) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, alpha(kPanelTop, fillAlpha));
    fill.setColorAt(1, alpha(kPanelBottom, fillAlpha));
    p.setPen(pen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// A line that fades out towards both ends.
void fadingLine(QPainter &p, QPointF a, QPointF b, const QColor &c, qreal width) {
    QLinearGradient g(a, b);
    g.setColorAt(0, alpha(c, 0));
    g.setColorAt(0.5, c);
    g.setColorAt(1, alpha(c, 0));
    p.setPen(QPen(QBrush(g), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
}

// ---- icons, drawn into a square of any size ---------------------------------------------

using IconFn = std::function<void(QPainter &, const QRectF &, const QColor &)>;

void iconMouse(QPainter &p, const QRectF &r, const QColor &c) {
    const qreal w = r.width(), h = r.height();
    QRectF body(r.x() + w * 0.25, r.y() + h * 0.08, w * 0.5, h * 0.84);
    p.setPen(pen(c, qMax(1.2, w / 14)));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body, body.width() / 2, body.width() / 2);
    p.drawLine(QPointF(body.center().x(), body.top()),
               QPointF(body.center().x(), body.top() + h * 0.3));
    p.drawLine(QPointF(body.left(), body.top() + h * 0.3),
               QPointF(body.right(), body.top() + h * 0.3));
}

void iconMacro(QPainter &p, const QRectF &r, const QColor &c) {
    const qreal w = r.width(), h = r.height();
    p.setPen(pen(c, qMax(1.2, w / 14)));
    for (int i = 0; i < 3; ++i) {
        const qreal y = r.y() + h * (0.25 + 0.25 * i);
        p.drawLine(QPointF(r.x() + w * 0.1, y), QPointF(r.x() + w * (i == 1 ? 0.45 : 0.55), y));
    }
    QPainterPath play;
    play.moveTo(r.x() + w * 0.62, r.y() + h * 0.3);
    play.lineTo(r.x() + w * 0.92, r.y() + h * 0.5);
    play.lineTo(r.x() + w * 0.62, r.y() + h * 0.7);
    play.closeSubpath();
    p.setBrush(c);
    p.drawPath(play);
}

void iconColor(QPainter &p, const QRectF &r, const QColor &c) {
    const QRectF ring =
        r.adjusted(r.width() * 0.12, r.height() * 0.12, -r.width() * 0.12, -r.height() * 0.12);
    const QColor parts[3] = {QColor(0xff, 0x4d, 0x5e), QColor(0x4d, 0xe0, 0x7a),
                             QColor(0x4d, 0x9e, 0xff)};
    for (int i = 0; i < 3; ++i) {
        // Grey (idle) and faint (watermark) versions keep the hues but not their full strength.
        const int strength = c == kIcon ? 150 : c.alpha();
        p.setPen(pen(alpha(parts[i], strength), qMax(1.5, r.width() / 9)));
        p.drawArc(ring, (90 + i * 120 + 8) * 16, 104 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(r.center(), r.width() * 0.1, r.height() * 0.1);
}

void iconSensor(QPainter &p, const QRectF &r, const QColor &c) {
    const qreal w = r.width();
    p.setPen(pen(c, qMax(1.2, w / 14)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.center(), w * 0.3, w * 0.3);
    const QPointF m = r.center();
    p.drawLine(QPointF(m.x(), r.top() + w * 0.04), QPointF(m.x(), r.top() + w * 0.3));
    p.drawLine(QPointF(m.x(), r.bottom() - w * 0.3), QPointF(m.x(), r.bottom() - w * 0.04));
    p.drawLine(QPointF(r.left() + w * 0.04, m.y()), QPointF(r.left() + w * 0.3, m.y()));
    p.drawLine(QPointF(r.right() - w * 0.3, m.y()), QPointF(r.right() - w * 0.04, m.y()));
    p.setBrush(c);
    p.drawEllipse(m, w * 0.07, w * 0.07);
}

void iconGear(QPainter &p, const QRectF &r, const QColor &c) {
    const QPointF m = r.center();
    const qreal w = r.width();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(m);
        p.rotate(i * 45);
        p.drawRoundedRect(QRectF(-w * 0.08, -w * 0.44, w * 0.16, w * 0.2), 1, 1);
        p.restore();
    }
    p.setPen(pen(c, w * 0.12));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(m, w * 0.25, w * 0.25);
}

void iconClose(QPainter &p, const QRectF &r, const QColor &c) {
    const qreal w = r.width();
    p.setPen(pen(alpha(c, 120), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.center(), w * 0.42, w * 0.42);
    p.setPen(pen(c, qMax(1.5, w / 11)));
    const qreal d = w * 0.17;
    p.drawLine(r.center() + QPointF(-d, -d), r.center() + QPointF(d, d));
    p.drawLine(r.center() + QPointF(-d, d), r.center() + QPointF(d, -d));
}

void ringed(QPainter &p, const QRectF &r, const QColor &c) {
    p.setPen(pen(alpha(c, 140), 1.2));
    p.setBrush(alpha(c, 28));
    p.drawEllipse(r.center(), r.width() * 0.44, r.width() * 0.44);
}

void iconReset(QPainter &p, const QRectF &r, const QColor &c) {
    ringed(p, r, c);
    const qreal w = r.width();
    const QRectF arc(r.center() - QPointF(w * 0.22, w * 0.22), QSizeF(w * 0.44, w * 0.44));
    p.setPen(pen(c, qMax(1.6, w / 12)));
    p.setBrush(Qt::NoBrush);
    p.drawArc(arc, 100 * 16, 280 * 16);
    const QPointF tip(arc.center().x() - w * 0.04, arc.top());
    QPainterPath head;
    head.moveTo(tip + QPointF(w * 0.11, 0));
    head.lineTo(tip + QPointF(-w * 0.04, -w * 0.1));
    head.lineTo(tip + QPointF(-w * 0.04, w * 0.1));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(head);
}

void iconApply(QPainter &p, const QRectF &r, const QColor &c) {
    ringed(p, r, c);
    const qreal w = r.width();
    p.setPen(pen(c, qMax(1.8, w / 10)));
    QPainterPath tick;
    tick.moveTo(r.x() + w * 0.3, r.y() + w * 0.52);
    tick.lineTo(r.x() + w * 0.45, r.y() + w * 0.66);
    tick.lineTo(r.x() + w * 0.71, r.y() + w * 0.36);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

void iconAdd(QPainter &p, const QRectF &r, const QColor &c) {
    ringed(p, r, c);
    const qreal d = r.width() * 0.22;
    p.setPen(pen(c, qMax(1.6, r.width() / 11)));
    p.drawLine(r.center() + QPointF(-d, 0), r.center() + QPointF(d, 0));
    p.drawLine(r.center() + QPointF(0, -d), r.center() + QPointF(0, d));
}

void iconDelete(QPainter &p, const QRectF &r, const QColor &c) {
    ringed(p, r, c);
    const qreal d = r.width() * 0.22;
    p.setPen(pen(c, qMax(1.6, r.width() / 11)));
    p.drawLine(r.center() + QPointF(-d, 0), r.center() + QPointF(d, 0));
}

void iconRecord(QPainter &p, const QRectF &r, const QColor &c) {
    ringed(p, r, c);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(r.center(), r.width() * 0.2, r.width() * 0.2);
}

void iconStop(QPainter &p, const QRectF &r, const QColor &c) {
    ringed(p, r, c);
    const qreal d = r.width() * 0.17;
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(r.center() - QPointF(d, d), QSizeF(2 * d, 2 * d)), 1.5, 1.5);
}

void iconCopy(QPainter &p, const QRectF &r, const QColor &c) {
    const qreal w = r.width();
    p.setPen(pen(c, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(r.x() + w * 0.15, r.y() + w * 0.15, w * 0.45, w * 0.5), 2, 2);
    p.setBrush(alpha(kPanelBottom, 255));
    p.drawRoundedRect(QRectF(r.x() + w * 0.38, r.y() + w * 0.35, w * 0.45, w * 0.5), 2, 2);
}

void iconCut(QPainter &p, const QRectF &r, const QColor &c) {
    const qreal w = r.width();
    p.setPen(pen(c, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(r.x() + w * 0.3, r.y() + w * 0.75), w * 0.13, w * 0.13);
    p.drawEllipse(QPointF(r.x() + w * 0.7, r.y() + w * 0.75), w * 0.13, w * 0.13);
    p.drawLine(QPointF(r.x() + w * 0.38, r.y() + w * 0.64),
               QPointF(r.x() + w * 0.72, r.y() + w * 0.12));
    p.drawLine(QPointF(r.x() + w * 0.62, r.y() + w * 0.64),
               QPointF(r.x() + w * 0.28, r.y() + w * 0.12));
}

void iconCross(QPainter &p, const QRectF &r, const QColor &c) {
    const qreal d = r.width() * 0.26;
    p.setPen(pen(c, 1.8));
    p.drawLine(r.center() + QPointF(-d, -d), r.center() + QPointF(d, d));
    p.drawLine(r.center() + QPointF(-d, d), r.center() + QPointF(d, -d));
}

void iconPaste(QPainter &p, const QRectF &r, const QColor &c) {
    const qreal w = r.width();
    p.setPen(pen(c, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(r.x() + w * 0.2, r.y() + w * 0.18, w * 0.6, w * 0.7), 2, 2);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(r.x() + w * 0.36, r.y() + w * 0.1, w * 0.28, w * 0.16), 1, 1);
    p.drawLine(QPointF(r.x() + w * 0.32, r.y() + w * 0.5),
               QPointF(r.x() + w * 0.68, r.y() + w * 0.5));
    p.drawLine(QPointF(r.x() + w * 0.32, r.y() + w * 0.66),
               QPointF(r.x() + w * 0.6, r.y() + w * 0.66));
}

QImage icon(int size, const IconFn &fn, const QColor &c) {
    QImage image = canvas(size, size);
    Painter p(&image);
    fn(p, QRectF(0, 0, size, size), c);
    return image;
}

// ---- larger pieces ---------------------------------------------------------------------

QImage background(const Skin &s) {
    QImage image = canvas(1000, 600);
    Painter p(&image);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, 1000, 600), 16, 16);
    p.setClipPath(shape);
    QLinearGradient base(0, 0, 0, 600);
    base.setColorAt(0, QColor(0x1c, 0x1f, 0x27));
    base.setColorAt(1, QColor(0x0c, 0x0d, 0x11));
    p.fillRect(image.rect(), base);
    QRadialGradient glow(QPointF(500, -60), 620);
    glow.setColorAt(0, alpha(s.accent, 46));
    glow.setColorAt(1, alpha(s.accent, 0));
    p.fillRect(image.rect(), glow);
    // A faint diagonal weave keeps large dark areas from looking flat.
    p.setPen(QPen(QColor(255, 255, 255, 6), 1));
    for (int x = -600; x < 1000; x += 14)
        p.drawLine(QPointF(x, 600), QPointF(x + 600, 0));
    return image;
}

QImage frameBackground(const Skin &s) {
    QImage image = canvas(1000, 600);
    Painter p(&image);
    p.setPen(pen(alpha(s.accent, 110), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.75, 0.75, 998.5, 598.5), 16, 16);
    p.setPen(pen(QColor(255, 255, 255, 14), 1));
    p.drawRoundedRect(QRectF(4.5, 4.5, 991, 591), 13, 13);
    // Corner brackets.
    p.setPen(pen(alpha(s.accent, 220), 2.5));
    const int L = 30, m = 8;
    p.drawPolyline(QPolygonF({QPointF(m, m + L), QPointF(m, m), QPointF(m + L, m)}));
    p.drawPolyline(
        QPolygonF({QPointF(1000 - m - L, m), QPointF(1000 - m, m), QPointF(1000 - m, m + L)}));
    p.drawPolyline(
        QPolygonF({QPointF(m, 600 - m - L), QPointF(m, 600 - m), QPointF(m + L, 600 - m)}));
    p.drawPolyline(QPolygonF({QPointF(1000 - m - L, 600 - m), QPointF(1000 - m, 600 - m),
                              QPointF(1000 - m, 600 - m - L)}));
    // Hairlines that frame the page area between the two menus.
    fadingLine(p, QPointF(164, 90), QPointF(164, 540), QColor(255, 255, 255, 30), 1);
    fadingLine(p, QPointF(170, 138), QPointF(930, 138), alpha(s.accent, 90), 1);
    return image;
}

// The chevrons sit on the left half of either image and point inwards, so the right one
// stays clear of the profile column that starts just below its centre.
QImage decoration(const Skin &s, bool mirrored) {
    QImage image = canvas(120, 36);
    Painter p(&image);
    fadingLine(p, QPointF(0, 33), QPointF(120, 33), alpha(s.accent, 110), 1);
    if (mirrored) {
        p.translate(59, 0);
        p.scale(-1, 1);
    }
    for (int i = 0; i < 4; ++i) {
        QPainterPath chevron;
        const qreal x = 2 + i * 13;
        chevron.moveTo(x, 8);
        chevron.lineTo(x + 7, 8);
        chevron.lineTo(x + 16, 17);
        chevron.lineTo(x + 7, 26);
        chevron.lineTo(x, 26);
        chevron.lineTo(x + 9, 17);
        chevron.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(alpha(s.accent, 80 + i * 50));
        p.drawPath(chevron);
    }
    return image;
}

// The product mark "Q7", drawn from strokes so no font is involved.
QImage webLogo(const Skin &s, bool hot) {
    QImage image = canvas(150, 40);
    Painter p(&image);
    const QColor c = hot ? s.hot : s.accent;
    auto mark = [&](const QPen &stroke) {
        p.setPen(stroke);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(58, 19), 12, 12);
        p.drawLine(QPointF(63, 24), QPointF(72, 33));
        p.drawPolyline(QPolygonF({QPointF(80, 8), QPointF(98, 8), QPointF(86, 32)}));
        p.drawLine(QPointF(84, 20), QPointF(95, 20));
    };
    if (hot)
        mark(pen(alpha(c, 70), 9));
    mark(pen(c, 3.2));
    fadingLine(p, QPointF(20, 38), QPointF(130, 38), alpha(c, hot ? 200 : 120), 1.2);
    return image;
}

QImage bar(const Skin &s, int w, int h, bool lineOnTop) {
    QImage image = canvas(w, h);
    Painter p(&image);
    panel(p, QRectF(0, 0, w, h), h / 2.5, 235, QColor(255, 255, 255, 16));
    const qreal y = lineOnTop ? 1 : h - 1;
    fadingLine(p, QPointF(40, y), QPointF(w - 40, y), alpha(s.accent, 200), 1.5);
    return image;
}

QImage pagePanel(const Skin &s, int w, int h, const IconFn &watermark, int fillAlpha) {
    QImage image = canvas(w, h);
    Painter p(&image);
    panel(p, QRectF(0, 0, w, h), 10, fillAlpha, QColor(255, 255, 255, 20));
    QLinearGradient band(0, 0, 0, 40);
    band.setColorAt(0, alpha(s.accent, 34));
    band.setColorAt(1, alpha(s.accent, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRoundedRect(QRectF(1, 1, w - 2, 40), 9, 9);
    p.setPen(pen(s.accent, 2));
    p.drawLine(QPointF(12, 1.5), QPointF(120, 1.5));
    if (watermark) {
        const qreal size = h * 0.42;
        watermark(p, QRectF(w - size - 24, h - size - 20, size, size), QColor(255, 255, 255, 14));
    }
    return image;
}

QImage frame(int w, int h, qreal radius, const QColor &border, int fillAlpha = 230) {
    QImage image = canvas(w, h);
    Painter p(&image);
    panel(p, QRectF(0, 0, w, h), radius, fillAlpha, border);
    return image;
}

QImage segmentedTrack(int w, int h, int segments) {
    QImage image = frame(w, h, 4, QColor(255, 255, 255, 28));
    Painter p(&image);
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    for (int i = 1; i < segments; ++i) {
        const qreal x = qRound(qreal(w) * i / segments) + 0.5;
        p.drawLine(QPointF(x, 4), QPointF(x, h - 4));
    }
    return image;
}

QImage filler(const Skin &s, int w, int h, bool hot) {
    QImage image = canvas(w, h);
    Painter p(&image);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, alpha(hot ? s.hot : s.accent, hot ? 210 : 120));
    g.setColorAt(1, alpha(s.accent, hot ? 150 : 70));
    p.setPen(pen(alpha(s.accent, hot ? 255 : 150), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    return image;
}

QImage checkbox(const Skin &s, bool on) {
    QImage image = canvas(16, 16);
    Painter p(&image);
    p.setPen(pen(on ? s.accent : kIcon, 1.2));
    p.setBrush(on ? alpha(s.accent, 60) : QColor(0, 0, 0, 90));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    if (on) {
        p.setPen(Qt::NoPen);
        p.setBrush(s.accent);
        p.drawRoundedRect(QRectF(4.5, 4.5, 7, 7), 1.5, 1.5);
    }
    return image;
}

// The rainbow strip stands upright: the colour pages pick by height, top black, through red,
// yellow, green, cyan, blue, magenta and white to black at the bottom.
QImage paletteStrip() {
    QImage image = canvas(16, 256);
    Painter p(&image);
    QLinearGradient g(0, 0, 0, 256);
    const QColor stops[9] = {Qt::black, Qt::red,     Qt::yellow, Qt::green, Qt::cyan,
                             Qt::blue,  Qt::magenta, Qt::white,  Qt::black};
    for (int i = 0; i < 9; ++i)
        g.setColorAt(i / 8.0, stops[i]);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 255), 3, 3);
    return image;
}

QImage paletteIndex() {
    QImage image = canvas(10, 20);
    Painter p(&image);
    QPainterPath marker;
    marker.moveTo(0.5, 0.5);
    marker.lineTo(9.5, 0.5);
    marker.lineTo(5, 7);
    marker.closeSubpath();
    p.setPen(pen(QColor(0, 0, 0, 160), 1));
    p.setBrush(Qt::white);
    p.drawPath(marker);
    p.setPen(pen(Qt::white, 1.4));
    p.drawLine(QPointF(5, 7), QPointF(5, 19.5));
    return image;
}

// The mouse seen from above, 102 x 191, as the pages show it.
QImage model(const Skin &s, bool lighting) {
    QImage image = canvas(102, 191);
    Painter p(&image);
    QPainterPath body;
    body.moveTo(51, 4);
    body.cubicTo(20, 4, 8, 30, 8, 72);
    body.cubicTo(8, 122, 12, 160, 30, 178);
    body.cubicTo(40, 188, 62, 188, 72, 178);
    body.cubicTo(90, 160, 94, 122, 94, 72);
    body.cubicTo(94, 30, 82, 4, 51, 4);
    if (lighting) {
        // The light ring glows around the lower shell.
        QConicalGradient ring(QPointF(51, 120), 90);
        const QColor rainbow[7] = {QColor(255, 60, 80),  QColor(255, 170, 40), QColor(240, 240, 60),
                                   QColor(60, 230, 120), QColor(40, 200, 255), QColor(120, 90, 255),
                                   QColor(255, 60, 80)};
        for (int i = 0; i < 7; ++i)
            ring.setColorAt(i / 6.0, rainbow[i]);
        p.setPen(QPen(QBrush(ring), 6));
        p.setOpacity(0.35);
        p.drawPath(body);
        p.setOpacity(1);
    }
    QLinearGradient shell(0, 4, 0, 186);
    shell.setColorAt(0, QColor(0x34, 0x3a, 0x45));
    shell.setColorAt(1, QColor(0x14, 0x17, 0x1c));
    p.setPen(pen(QColor(0x6a, 0x73, 0x80), 1.4));
    p.setBrush(shell);
    p.drawPath(body);

    const QColor seams = lighting ? QColor(0x6a, 0x73, 0x80) : s.accent;
    p.setPen(pen(seams, lighting ? 1.2 : 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(51, 5), QPointF(51, 66));
    QPainterPath split;
    split.moveTo(9, 66);
    split.quadTo(51, 80, 93, 66);
    p.drawPath(split);
    p.drawRoundedRect(QRectF(46, 18, 10, 24), 5, 5);
    p.drawRoundedRect(QRectF(47.5, 48, 7, 9), 2, 2);
    p.drawRoundedRect(QRectF(4, 84, 6, 18), 2.5, 2.5);
    p.drawRoundedRect(QRectF(4, 106, 6, 18), 2.5, 2.5);
    if (lighting) {
        QLinearGradient logo(40, 140, 62, 140);
        logo.setColorAt(0, s.accent);
        logo.setColorAt(1, s.hot);
        p.setPen(Qt::NoPen);
        p.setBrush(logo);
        p.drawRoundedRect(QRectF(42, 136, 18, 6), 3, 3);
    }
    return image;
}

using Painters = std::map<QString, std::function<QImage(const Skin &)>>;

Painters painters() {
    Painters m;
    auto pair = [&](const QString &stem, int size, const IconFn &fn) {
        m[stem + "_0.png"] = [=](const Skin &) { return icon(size, fn, kIcon); };
        m[stem + "_1.png"] = [=](const Skin &s) { return icon(size, fn, s.accent); };
    };
    m["background.png"] = background;
    m["frame/decoration1.png"] = [](const Skin &s) { return decoration(s, false); };
    m["frame/decoration2.png"] = [](const Skin &s) { return decoration(s, true); };
    m["frame/frameBackground.png"] = frameBackground;
    m["frame/web_0.png"] = [](const Skin &s) { return webLogo(s, false); };
    m["frame/web_1.png"] = [](const Skin &s) { return webLogo(s, true); };

    pair("common/add", 24, iconAdd);
    pair("common/apply", 28, iconApply);
    pair("common/reset", 28, iconReset);
    pair("common/delete", 24, iconDelete);
    pair("common/record", 24, iconRecord);
    pair("common/stop", 24, iconStop);
    pair("common/solid-copy", 20, iconCopy);
    pair("common/solid-cut", 20, iconCut);
    pair("common/solid-delete", 20, iconCross);
    pair("common/solid-paste", 20, iconPaste);
    m["common/btnFileListFrame.png"] = [](const Skin &) {
        return frame(220, 26, 4, QColor(255, 255, 255, 30));
    };
    m["common/btnFrame.png"] = [](const Skin &) {
        return frame(200, 26, 4, QColor(255, 255, 255, 30));
    };
    m["common/btnGroup2_FILLER_0.png"] = [](const Skin &s) { return filler(s, 60, 30, false); };
    m["common/btnGroup2_FILLER_1.png"] = [](const Skin &s) { return filler(s, 60, 30, true); };
    m["common/btnGroup_4_BASE.png"] = [](const Skin &) { return segmentedTrack(360, 30, 4); };
    m["common/btnGroup_8_BASE.png"] = [](const Skin &) { return segmentedTrack(480, 30, 8); };
    m["common/btnGroup_FILLER_0.png"] = [](const Skin &s) { return filler(s, 90, 30, false); };
    m["common/btnGroup_FILLER_1.png"] = [](const Skin &s) { return filler(s, 90, 30, true); };
    m["common/checkbox_0.png"] = [](const Skin &s) { return checkbox(s, false); };
    m["common/checkbox_1.png"] = [](const Skin &s) { return checkbox(s, true); };
    m["common/draw_inputValue.png"] = [](const Skin &) {
        return frame(46, 22, 3, QColor(255, 255, 255, 40));
    };
    m["common/draw_line.png"] = [](const Skin &s) {
        QImage image = canvas(480, 2);
        Painter p(&image);
        fadingLine(p, QPointF(0, 1), QPointF(480, 1), alpha(s.accent, 160), 2);
        return image;
    };
    m["common/draw_palette.png"] = [](const Skin &) { return paletteStrip(); };
    m["common/draw_paletteIndex.png"] = [](const Skin &) { return paletteIndex(); };
    m["common/filelist_BASE.png"] = [](const Skin &) {
        return frame(220, 260, 6, QColor(255, 255, 255, 26));
    };
    m["common/fram_2btn.png"] = [](const Skin &) {
        return frame(90, 40, 8, QColor(255, 255, 255, 26));
    };
    m["common/slider_BASE.png"] = [](const Skin &) { return segmentedTrack(210, 12, 7); };
    m["common/slider_FILLER_0.png"] = [](const Skin &s) { return filler(s, 210, 12, false); };
    m["common/slider_FILLER_1.png"] = [](const Skin &s) { return filler(s, 210, 12, true); };
    m["common/slider_11_BASE.png"] = [](const Skin &) { return segmentedTrack(330, 12, 11); };
    m["common/slider_11_FILLER_0.png"] = [](const Skin &s) { return filler(s, 330, 12, false); };
    m["common/slider_11_FILLER_1.png"] = [](const Skin &s) { return filler(s, 330, 12, true); };

    m["list_center/fnColorBackground.png"] = [](const Skin &s) {
        return pagePanel(s, 759, 396, iconColor, 215);
    };
    m["list_center/fnCommonBackground.png"] = [](const Skin &s) {
        return pagePanel(s, 759, 396, iconSensor, 215);
    };
    m["list_center/fnKeydefineBackground.png"] = [](const Skin &s) {
        return pagePanel(s, 759, 396, iconMouse, 215);
    };
    m["list_center/fnMacroBackground.png"] = [](const Skin &s) {
        return pagePanel(s, 759, 396, iconMacro, 215);
    };
    m["list_center/globalsettingBackground.png"] = [](const Skin &s) {
        QImage image = pagePanel(s, 340, 420, nullptr, 248);
        Painter p(&image);
        p.setPen(pen(alpha(s.accent, 120), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(0.5, 0.5, 339, 419), 10, 10);
        return image;
    };
    m["list_dn/listDnContainer.png"] = [](const Skin &s) { return bar(s, 982, 40, true); };
    m["list_up/listUpContainer.png"] = [](const Skin &s) { return bar(s, 984, 28, false); };
    pair("list_up/applicationSetting", 24, iconGear);
    pair("list_up/applicationMinimize", 24, iconClose);

    m["list_fn/listFnBtn_0.png"] = [](const Skin &) {
        return frame(150, 37, 6, QColor(255, 255, 255, 22), 210);
    };
    m["list_fn/listFnBtn_1.png"] = [](const Skin &s) {
        QImage image = frame(150, 37, 6, alpha(s.accent, 190), 230);
        Painter p(&image);
        QLinearGradient g(0, 0, 150, 0);
        g.setColorAt(0, alpha(s.accent, 70));
        g.setColorAt(1, alpha(s.accent, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(1, 1, 148, 35), 5, 5);
        p.setBrush(s.accent);
        p.drawRoundedRect(QRectF(1, 8, 3, 21), 1.5, 1.5);
        return image;
    };
    pair("list_fn/fnKeydefine", 22, iconMouse);
    pair("list_fn/fnMacro", 22, iconMacro);
    pair("list_fn/fnColor", 22, iconColor);
    pair("list_fn/fnSensor", 22, iconSensor);

    m["list_pf/listPfContainer.png"] = [](const Skin &s) {
        QImage image = frame(64, 290, 10, QColor(255, 255, 255, 20), 220);
        Painter p(&image);
        p.setPen(pen(s.accent, 2));
        p.drawLine(QPointF(20, 12), QPointF(44, 12));
        return image;
    };
    m["list_pf/profileFW_0.png"] = [](const Skin &) {
        return frame(52, 37, 6, QColor(255, 255, 255, 26), 235);
    };
    m["list_pf/profileFW_1.png"] = [](const Skin &s) {
        QImage image = frame(52, 37, 6, s.accent, 235);
        Painter p(&image);
        p.setPen(Qt::NoPen);
        p.setBrush(alpha(s.accent, 55));
        p.drawRoundedRect(QRectF(1, 1, 50, 35), 5, 5);
        return image;
    };
    m["model_ms/model_Q7_Color.png"] = [](const Skin &s) { return model(s, true); };
    m["model_ms/model_Q7_KeyDefine.png"] = [](const Skin &s) { return model(s, false); };
    return m;
}

// The list as read: its skins in order, and its images with the interface's name for each
// (empty for an image whose path is built where it is shown).
struct Manifest {
    std::vector<Skin> skins;
    std::vector<std::pair<QString, QString>> images;
};

bool readManifest(const QString &path, Manifest *manifest) {
    QFile list(path);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    static const QRegularExpression space(QStringLiteral("\\s+"));
    static const QRegularExpression identifier(QStringLiteral("^[a-z]\\w*$"));
    QStringList names;
    int problems = 0;
    QTextStream in(&list);
    for (int number = 1; !in.atEnd(); ++number) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(space);
        bool ok = false;
        if (f[0] == QLatin1String("skin") && f.size() == 4) {
            const Skin skin{f[1].toInt(&ok), QColor(f[2]), QColor(f[3])};
            ok = ok && skin.number > 0 && skin.accent.isValid() && skin.hot.isValid();
            if (ok)
                manifest->skins.push_back(skin);
        } else if (f[0].endsWith(QLatin1String(".png")) && f.size() <= 2) {
            const QString name = f.value(1);
            // A repeated name would make the generated QML declare a property twice.
            ok = name.isEmpty() || (identifier.match(name).hasMatch() && !names.contains(name));
            names << name;
            if (ok)
                manifest->images.emplace_back(f[0], name);
        }
        if (!ok) {
            std::fprintf(stderr, "%s:%d: not understood: %s\n", qPrintable(path), number,
                         qPrintable(line));
            ++problems;
        }
    }
    if (manifest->skins.empty()) {
        std::fprintf(stderr, "%s names no skin\n", qPrintable(path));
        ++problems;
    }
    return problems == 0;
}

// The base of the Theme singleton and of the shell's root: both give every named image's path
// below the folder of the skin in use, and the skin's accent.
bool writeQml(const Manifest &manifest, const QString &path) {
    QString accent = QStringLiteral("\"%1\"").arg(manifest.skins.front().accent.name());
    for (auto it = manifest.skins.crbegin(); it != manifest.skins.crend() - 1; ++it)
        accent = QStringLiteral("skin_No === %1 ? \"%2\" : %3")
                     .arg(it->number).arg(it->accent.name(), accent);
    QString text;
    QTextStream out(&text);
    out << "// Generated at build time from tools/skins/images.txt by q7_skinpaint.\n"
           "// Edit the list, not this file.\n"
           "import QtQuick\n\n"
           "// The skin in use, its accent, and the path of every skin image the interface reads "
           "by name.\n"
           "Item {\n"
        << "    property int skin_No: " << manifest.skins.front().number << "\n"
        << "    readonly property color accentColor: " << accent << "\n"
        << "    readonly property string skinDir: \"file:modules/img/skin\" + skin_No + \"/\"\n";
    for (const auto &[image, name] : manifest.images) {
        if (!name.isEmpty())
            out << "    readonly property string " << name << ": skinDir + \"" << image << "\"\n";
    }
    out << "}\n";
    out.flush();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    const bool qml = argc == 4 && QByteArray(argv[2]) == "--qml";
    if (argc != 3 && !qml) {
        std::fprintf(stderr, "usage: %s <image list> (<output folder> | --qml <file>)\n", argv[0]);
        return 2;
    }
    Manifest manifest;
    if (!readManifest(QString::fromLocal8Bit(argv[1]), &manifest))
        return 1;
    if (qml)
        return writeQml(manifest, QString::fromLocal8Bit(argv[3])) ? 0 : 1;

    const Painters all = painters();
    int problems = 0;
    for (const auto &image : manifest.images) {
        if (!all.count(image.first)) {
            std::fprintf(stderr, "no painter for %s\n", qPrintable(image.first));
            ++problems;
        }
    }
    for (const auto &entry : all) {
        const auto listed = [&](const auto &image) { return image.first == entry.first; };
        if (std::none_of(manifest.images.cbegin(), manifest.images.cend(), listed)) {
            std::fprintf(stderr, "%s is painted but not listed\n", qPrintable(entry.first));
            ++problems;
        }
    }
    if (problems)
        return 1;

    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (const Skin &skin : manifest.skins) {
        for (const auto &image : manifest.images) {
            const QString path =
                out.filePath(QStringLiteral("skin%1/%2").arg(skin.number).arg(image.first));
            QDir().mkpath(QFileInfo(path).absolutePath());
            if (!all.at(image.first)(skin).save(path, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
