#pragma once

#include "CaptureDemand.h"

#include <QList>
#include <QPointer>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class ApConfig;
class BackgroundIncubation;
class DeviceBridge;
class FollowRulesEditor;
class Languages;
class MS_HT66FB560;
class MacroLibrary;
class OfflineEdits;
class ProfileRules;
class ScriptOperations;
class RefillSource;
class ProfileStore;
class MouseLink;
class StoreDialogs;
class SystemMouseSettings;
class Ui_Controler;

// The slot surface that QML sees as ui_View. It owns the subsystems but no logic of its
// own: every slot forwards to a plain class that tests build without a window.
class myQQuickView : public QQuickWidget {
    Q_OBJECT
    // The mouse's current profile as the store holds it. Changes with every switch, whoever
    // asked for it, and when a refill finds another one.
    Q_PROPERTY(int currentProfile READ currentProfile NOTIFY currentProfileChanged)
    // The profile menu takes a click: shown and not dimmed (the drawer, a recording). The menu
    // says so; the view cannot see it.
    Q_PROPERTY(bool profileMenuReady READ profileMenuReady WRITE setProfileMenuReady NOTIFY
                   profileSwitchReadyChanged)
    // A switch can be made now: the menu is ready and the view is not locked for an exchange.
    Q_PROPERTY(bool profileSwitchReady READ profileSwitchReady NOTIFY profileSwitchReadyChanged)
public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    // Publishes ui_View and ui_Ctl to the QML context.
    void publish(Ui_Controler *controller);

    // The window's device object, handed to the one session with the mouse; nothing reaches
    // the mouse until the window has set it.
    void setDevice(MS_HT66FB560 *device);

    // Result of the last device look-up; the window sets it before each refill.
    void setDeviceLinked(bool linked);
    bool deviceLinked() const;
    // Refills the profile caches from the mouse, or from the file while none is linked. Once
    // the pages have read the store, a refill that changed it has them read it again: a mouse
    // plugged in on another profile, or holding other settings, must not be shown as the old.
    // `answers`: the mouse's, read beforehand (see RefillSnapshot).
    void syncFromDevice(RefillSource *answers = nullptr);
    // Edits made without the mouse that the last refill found different from it or equal:
    // settled (asking the user once when they differ), then the pages re-read the store
    // when it took the mouse's values, and a send that failed is told like any other.
    OfflineEdits &offlineEdits() { return *offline; }
    void settleOfflineEdits();

    // Hands captured input to the QML root (queued, so capture never re-enters QML).
    void forwardKeyboard(bool isDown, int usbCode);
    void forwardMouse(bool isDown, int mouseCode, int x, int y);
    // Where the pages' requests for input go; unset, they ask for nothing.
    void setCaptureDemand(CaptureDemand *demand) { captureDemand = demand; }
    // The window can no longer be seen: armed capture fields and a recording end.
    void withdrawCapture();
    // Locks the view for an exchange of `interval` ms (0: locks and unlocks at once).
    void lockView(int interval);

    ProfileStore &profileStore() { return *store; }
    ApConfig &apConfig() { return *config; }
    Languages &languages() { return *langs; }
    // The current language's message strings (empty texts before any is loaded).
    QStringList msgStrings() const;

    int currentProfile();
    bool profileMenuReady() const { return menuReady; }
    void setProfileMenuReady(bool ready);
    bool profileSwitchReady() const { return menuReady && isEnabled(); }
    // Switches as a click in the profile menu does (the mouse is told, the pages follow): the
    // way the rules, the command line and warning messages switch. False while not ready.
    bool switchProfile(int profile);

    // Scripts' operations (the command line's commands, the session bus) on this view's
    // store, link and bridge, made on first use.
    ScriptOperations &scripting();
    // The pages read the store again, as after a refill that changed it: a script changed it.
    void refreshPages();

    // The rules list's editing; unset (the slots answer empty) until the follower is set up.
    void setFollowRulesEditor(FollowRulesEditor *editor) { followEditor = editor; }
    // Shows a short notice in the window (only while the window is on screen).
    void showNotice(const QString &text);

    // "common/name" of the application configuration, the window's title.
    QString windowTitleText() const;
    // "common/product_name", one name per entry of the device table.
    QStringList productNames() const;

public Q_SLOTS:
    // A capture field waiting for a key, or a recording: "I want input" and "I'm done". The
    // desktop's keys and buttons are listened to only while some holder has a request open.
    void requestCapture(QObject *holder);
    void releaseCapture(QObject *holder);

    // Application configuration.
    bool getMsgAns_FoolProofing();
    QVariant q7_getApConfig(QString key);
    void saveApConfig(QVariantList apConfigs);
    QVariantList loadApConfig();
    void resetApconfig();
    int loadSkin();
    void saveSkin(int skinNo);

    // The settings page's background picture.
    QString getCustomFilePath();

    // The desktop's pointer settings, stored per profile.
    void setAcceleration(bool acceleration);
    void setCursorSpeed(uint cursorSpeed);
    void setVerticalScrollLines(uint lines);
    void setDoubleClickSpeed(uint speed);
    bool getAcceleration();
    uint getCursorSpeed();
    uint getVerticalScrollLines();
    uint getDoubleClickSpeed();
    // Whether the desktop takes the setting (pointerSettings' element number) at all.
    bool canChangePointerSetting(int element);

    // Profiles: defaults, export, import, reset, offline edits.
    QVariantList q7_getDefaultProfile(QString key, uchar profileId);
    void q7_loadProfile(int profile);
    void q7_saveProfile(int profile);
    void q7_resetProfile(int profile);
    void q7_SetDirty_Profile(uchar profileId);
    void q7_SetDirty_Matrix(uchar profileId);
    void q7_SetDirty_Other(uchar profileId);

    // Languages.
    QStringList q7_getProductLayoutStrings(QString langCode);
    QVariantMap chkLanguages();
    QStringList getGlobalStrings(QString langCode);

    // Device settings of the current profile.
    uint q7_GetMaxDpiStage();
    void q7_02H_SetCurrentProfile(uchar profileId);
    void q7_03H_SetReportRate(uchar rate);
    void q7_04H_SetDPIStage(uchar stage);
    void q7_0CH_SetRGBLedEffect(uchar effect, uchar light, uchar speed);
    void q7_0CH_SetDpi8Color(QVariantList src24);
    void q7_0CH_SetDpi8Io(QVariantList src8);
    void q7_0CH_SetDpi8Stage(QVariantList src16);
    void q7_SetLED8StageColor(QVariantList src24);
    uchar q7_82H_GetCurrentProfile();
    uchar q7_83H_GetReportRate();
    uchar q7_84H_GetDPIStage();
    uchar q7_89H_GetRGBLedTwinkle();
    QVariantList q7_8CH_GetRGBLedEffect();
    QVariantList q7_8CH_GetDpi8Color();
    QVariantList q7_8CH_GetDpi8Io();
    QVariantList q7_8CH_GetDpi8Stage();
    QVariantList q7_GetLED8StageColor();

    // Key assignment.
    void q7_0DH_SetKeyMatrix(QVariantList src64);
    QVariantList getKeydefine(QVariant matrixId);

    // Macros.
    void q7_0FH_SetMacroKey(QVariant macroId, QVariant name);
    QList<uchar> macroIncode(QStringList macros);
    void loadMacroIniFromFile(QVariant name);
    void saveMacroIniToFile(QVariant name);
    void renameMacroIniFile(QVariant oldName, QVariant newName);
    QVariant createMacroIni();
    QVariant deleteMacroIni(QVariant name);
    QStringList getMacroIniNames();
    QVariant saveMacroIni(QVariant name, QStringList macros);
    QStringList loadMacroIni(QVariant name);
    QVariantList loadMacroIniConfig(QVariant name);
    void setMacroIniConfig(QVariant name, QVariantList config);

    // Profiles that follow the active application: the rules list and its texts.
    QVariantMap getFollowRules();
    bool setFollowRules(QVariantList rules, int noMatchProfile);
    QVariantMap getFollowLastApplication();
    QVariantMap getFollowStrings();
    // The texts of one section of the current language file by key, English where it has
    // none: sections a part of the interface reads for itself, such as the controls' names.
    QVariantMap getSectionStrings(const QString &section);

    // Start-up steps of the QML shell.
    void initUI();
    void runUI();
    // The opening has played: the window is made, and what its making freed goes back to the
    // system.
    void openingPlayed();

    // The notice owed for the changes sent since the last call, in the current language:
    // empty when each reached the mouse. The shell calls it once before and once after every
    // operation that sends, so the user is told once per operation.
    QString takeSendNotice();

Q_SIGNALS:
    // What the view tells the shell (basic/ViewSignals.qml calls the shell's function of each).
    void uiInitRequested();
    void uiRunRequested();
    void viewLockRequested(int interval);
    void storeRefilled();
    void offlineEditsSettled(bool reload, const QString &notice);
    void keyboardCaptured(bool isDown, int usbCode);
    void mouseCaptured(bool isDown, int mouseCode, uint x, uint y);
    void captureWithdrawRequested();
    void noticeRequested(const QString &text);

    void currentProfileChanged();
    void profileSwitchReadyChanged();
    // The profile menu makes the switch, as a click on the entry would.
    void profileSwitchRequested(int profile);

protected:
    // The busy lock disables the view: a switch waits for it.
    void changeEvent(QEvent *event) override;
    // Disabled (the shell's busy lock), the view lets its keyboard focus go instead of passing
    // it on as a Tab inside the interface: the focused control keeps it for when the lock ends.
    bool focusNextPrevChild(bool next) override;

private:
    // Message strings of the notice after sends that did not reach the mouse.
    static constexpr int notTakenMessage = 7;
    static constexpr int noMouseMessage = 8;

    // Emits from the event loop's next turn, as the shell's calls from capture and start-up
    // must come: never from inside another exchange with QML.
    void later(std::function<void()> emitSignal);
    FollowRulesEditor *followEditor = nullptr;
    QPointer<CaptureDemand> captureDemand;
    std::unique_ptr<BackgroundIncubation> incubation;
    std::unique_ptr<ApConfig> config;
    std::unique_ptr<ProfileStore> store;
    std::unique_ptr<Languages> langs;
    std::unique_ptr<MouseLink> link;
    std::unique_ptr<DeviceBridge> bridge;
    std::unique_ptr<StoreDialogs> storeDialogs;
    std::unique_ptr<SystemMouseSettings> pointer;
    std::unique_ptr<MacroLibrary> macros;
    std::unique_ptr<OfflineEdits> offline;
    std::unique_ptr<ProfileRules> scriptRules;
    std::unique_ptr<ScriptOperations> scripts;
    bool menuReady = false;
    bool uiStarted = false; // the QML initUI step has been queued: the pages have read the store
};
