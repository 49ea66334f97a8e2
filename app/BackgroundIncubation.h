#pragma once

#include <QObject>
#include <QQmlIncubationController>
#include <QTimer>

// Makes the QML objects asked for in the background (a page chosen while its slide runs) a few
// milliseconds at a time between the view's frames. A QQuickWidget's engine comes without a
// controller of its own, and without one such objects are made only when something waits for
// them, all in one frame.
class BackgroundIncubation : public QObject, public QQmlIncubationController {
public:
    explicit BackgroundIncubation(QObject *parent = nullptr);

protected:
    void incubatingObjectCountChanged(int count) override;

private:
    // Short enough that a frame due meanwhile is drawn on time.
    static constexpr int sliceMs = 4;
    QTimer slices;
};
