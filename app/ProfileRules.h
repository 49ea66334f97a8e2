#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

class ApConfig;
class QObject;
class QQmlEngine;

// The pages' own conversions between what the mouse stores and what the user picks (the
// sensor page's rate codes and DPI coding, the lighting page's effect list and its speed and
// brightness steps), run from the very script libraries the pages import. A script that sets
// "rate 500" or "effect wave" therefore stores what a click on that button would store, and
// a change to a page's rule reaches the command line with it.
//
// Needs no display: the libraries run in a QML engine of its own under QCoreApplication.
class ProfileRules {
public:
    // The product constants the pages read: the DPI step, the DPI values the stage menus
    // offer and which effects the lighting page lists.
    explicit ProfileRules(ApConfig &config);
    ~ProfileRules();
    ProfileRules(const ProfileRules &) = delete;
    ProfileRules &operator=(const ProfileRules &) = delete;

    // False when the libraries could not be loaded; every answer below is then empty or -1.
    // They are loaded on the first question: a profile switch asks none.
    bool loaded() const;

    // The rate buttons, slowest first, in Hz, and the stored code of each.
    QList<int> rates() const;
    int rateCode(int hz) const; // -1: no button of that rate
    int rateHz(int code) const;

    // The DPI values the stage menus offer; the eight stage DPIs of a stored 16-value list
    // and back (the list the mouse takes holds the stages twice).
    QList<int> dpiOffered() const { return offered; }
    QList<int> dpiValues(const QVariantList &stored) const;
    QVariantList dpiStageList(const QList<int> &dpis) const;

    // The effects the lighting page lists, by code, and each one's label.
    QList<int> effectCodes() const;
    QString effectLabel(int code) const;
    // The speed byte an effect stores for the slider position another effect's byte shows,
    // so a changed effect runs as fast as the slider said.
    int speedByteKeepingPosition(int fromEffect, int fromSpeedByte, int toEffect) const;

    // The brightness slider's steps 0..brightnessSteps and the byte each stores.
    int brightnessSteps() const { return brightnessStep(255); }
    int brightnessByte(int step) const;
    int brightnessStep(int storedByte) const;

private:
    QVariant call(const char *function, const QVariantList &args = {}) const;

    mutable std::unique_ptr<QQmlEngine> engine;
    mutable std::unique_ptr<QObject> rules;
    int dpiBase = 0;
    QList<int> offered;
    QVariantList effectEnable;
};
