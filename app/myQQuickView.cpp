#include "myQQuickView.h"

#include "ApConfig.h"
#include "BackgroundIncubation.h"
#include "BackgroundPicker.h"
#include "CaptureDemand.h"
#include "DataPaths.h"
#include "DeviceBridge.h"
#include "FollowRulesEditor.h"
#include "FreedMemory.h"
#include "KeyNames.h"
#include "Languages.h"
#include "MacroLibrary.h"
#include "MouseLink.h"
#include "OfflineEdits.h"
#include "ProfileRules.h"
#include "ProfileStore.h"
#include "ScriptOperations.h"
#include "StoreDialogs.h"
#include "SystemMouseSettings.h"
#include "Ui_Controler.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>

myQQuickView::myQQuickView(QWidget *parent) : QQuickWidget(parent) {
    // Whatever QML leaves unpainted shows the desktop through the translucent window.
    setClearColor(Qt::transparent);
    setAttribute(Qt::WA_TranslucentBackground, true);
    incubation = std::make_unique<BackgroundIncubation>();
    engine()->setIncubationController(incubation.get());

    // The configuration opens before the profile settings; both stay open for the run.
    const DataPaths &paths = DataPaths::current();
    config = std::make_unique<ApConfig>(paths.settingDir(), paths.factorySettingDir());
    store = std::make_unique<ProfileStore>(paths.profileFile(), paths.profileDefaultsFile());
    langs = std::make_unique<Languages>(paths.languageFolder());
    link = std::make_unique<MouseLink>(*store);
    bridge = std::make_unique<DeviceBridge>(*store, *link);
    pointer = std::make_unique<SystemMouseSettings>(store.get());
    macros = std::make_unique<MacroLibrary>(link.get(), buildKeyNameTable(),
                                            paths.macroFolder(), this);
    macros->setMessages([this] { return msgStrings(); });
    storeDialogs = std::make_unique<StoreDialogs>(
        *store, [this] { return msgStrings(); }, this);
    offline =
        std::make_unique<OfflineEdits>(*store, *link, [this] { return msgStrings(); }, this);
}

myQQuickView::~myQQuickView() {
    // The engine goes with the base class, after the controller.
    engine()->setIncubationController(nullptr);
}

bool myQQuickView::focusNextPrevChild(bool next) {
    return isEnabled() && QQuickWidget::focusNextPrevChild(next);
}

void myQQuickView::publish(Ui_Controler *controller) {
    rootContext()->setContextProperty(QStringLiteral("ui_View"), this);
    rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), controller);
}

void myQQuickView::setDevice(MS_HT66FB560 *device) { link->setDevice(device); }

QString myQQuickView::takeSendNotice() {
    switch (link->takeNotice()) {
    case SendOutcome::NotTaken:
        return msgStrings().value(notTakenMessage);
    case SendOutcome::NoMouse:
        return msgStrings().value(noMouseMessage);
    case SendOutcome::Nothing:
        break;
    }
    return QString();
}

void myQQuickView::setDeviceLinked(bool linked) { store->setDeviceLinked(linked); }
bool myQQuickView::deviceLinked() const { return store->deviceLinked(); }
void myQQuickView::syncFromDevice(RefillSource *answers) {
    const int before = currentProfile();
    const bool changed = answers ? store->syncFromDevice(*answers) : store->syncFromDevice();
    if (changed && uiStarted)
        later([this] { emit storeRefilled(); });
    if (currentProfile() != before)
        emit currentProfileChanged();
}

int myQQuickView::currentProfile() { return bridge->currentProfile(); }

ScriptOperations &myQQuickView::scripting() {
    if (!scripts) {
        scriptRules = std::make_unique<ProfileRules>(*config);
        scripts = std::make_unique<ScriptOperations>(*store, *link, *bridge, *scriptRules,
                                                     ScriptOperations::Host{});
    }
    return *scripts;
}

void myQQuickView::refreshPages() {
    if (uiStarted)
        later([this] { emit storeRefilled(); });
}

void myQQuickView::setProfileMenuReady(bool ready) {
    if (ready == menuReady)
        return;
    menuReady = ready;
    emit profileSwitchReadyChanged();
}

bool myQQuickView::switchProfile(int profile) {
    if (!profileSwitchReady())
        return false;
    if (profile != currentProfile())
        emit profileSwitchRequested(profile);
    return true;
}

void myQQuickView::changeEvent(QEvent *event) {
    QQuickWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        emit profileSwitchReadyChanged();
}

void myQQuickView::settleOfflineEdits() {
    const OfflineEdits::Outcome settled = offline->settle();
    QString notice;
    // Outside any operation of the pages: told now, not by the next one.
    if (settled == OfflineEdits::Outcome::NotSent)
        notice = takeSendNotice();
    // Before the QML start-up step the pages have read nothing yet; they read the settled
    // store then.
    const bool reload = settled == OfflineEdits::Outcome::KeptMouse && uiStarted;
    if (reload || !notice.isEmpty())
        later([this, reload, notice] { emit offlineEditsSettled(reload, notice); });
}

QStringList myQQuickView::msgStrings() const {
    QStringList strings = langs->msgStrings();
    while (strings.size() < Languages::messageCount)
        strings.append(QString());
    return strings;
}

QString myQQuickView::windowTitleText() const {
    return config->settings().value(QStringLiteral("common/name"), QString()).toString();
}

QStringList myQQuickView::productNames() const { return config->productNames(); }

void myQQuickView::forwardKeyboard(bool isDown, int usbCode) {
    later([this, isDown, usbCode] { emit keyboardCaptured(isDown, usbCode); });
}

void myQQuickView::forwardMouse(bool isDown, int mouseCode, int x, int y) {
    // Unsigned, as the hook hands them: a point left of or above the primary screen
    // arrives as a large number.
    later([this, isDown, mouseCode, x, y] { emit mouseCaptured(isDown, mouseCode, uint(x), uint(y)); });
}

void myQQuickView::withdrawCapture() {
    later([this] { emit captureWithdrawRequested(); });
}

void myQQuickView::requestCapture(QObject *holder) {
    if (captureDemand)
        captureDemand->request(holder);
}
void myQQuickView::releaseCapture(QObject *holder) {
    if (captureDemand)
        captureDemand->release(holder);
}

// --- application configuration ---------------------------------------------------------
bool myQQuickView::getMsgAns_FoolProofing() { return storeDialogs->getMsgAns_FoolProofing(); }
QVariant myQQuickView::q7_getApConfig(QString key) { return config->productConstant(key); }
void myQQuickView::saveApConfig(QVariantList apConfigs) { config->saveApConfig(apConfigs); }
QVariantList myQQuickView::loadApConfig() { return config->loadApConfig(); }
void myQQuickView::resetApconfig() { config->resetApconfig(); }
int myQQuickView::loadSkin() { return config->skin(); }
void myQQuickView::saveSkin(int skinNo) { config->saveSkin(skinNo); }

QString myQQuickView::getCustomFilePath() { return pickCustomBackground(this, msgStrings()); }

// --- pointer settings --------------------------------------------------------------------
void myQQuickView::setAcceleration(bool acceleration) { pointer->setAcceleration(acceleration); }
void myQQuickView::setCursorSpeed(uint cursorSpeed) { pointer->setCursorSpeed(cursorSpeed); }
void myQQuickView::setVerticalScrollLines(uint lines) { pointer->setVerticalScrollLines(lines); }
void myQQuickView::setDoubleClickSpeed(uint speed) { pointer->setDoubleClickSpeed(speed); }
bool myQQuickView::getAcceleration() { return pointer->getAcceleration(); }
uint myQQuickView::getCursorSpeed() { return pointer->getCursorSpeed(); }
uint myQQuickView::getVerticalScrollLines() { return pointer->getVerticalScrollLines(); }
uint myQQuickView::getDoubleClickSpeed() { return pointer->getDoubleClickSpeed(); }
bool myQQuickView::canChangePointerSetting(int element) {
    return element >= 0 && element < pointerSettings::ElementCount &&
           pointer->canChange(pointerSettings::Element(element));
}

// --- profiles ------------------------------------------------------------------------------
QVariantList myQQuickView::q7_getDefaultProfile(QString key, uchar profileId) {
    return store->defaultProfile(key, profileId);
}
void myQQuickView::q7_loadProfile(int profile) { storeDialogs->loadProfile(profile); }
void myQQuickView::q7_saveProfile(int profile) { storeDialogs->saveProfile(profile); }
void myQQuickView::q7_resetProfile(int profile) { store->resetProfile(profile); }
void myQQuickView::q7_SetDirty_Profile(uchar profileId) { store->markProfileDirty(profileId); }
void myQQuickView::q7_SetDirty_Matrix(uchar profileId) { store->markMatrixDirty(profileId); }
void myQQuickView::q7_SetDirty_Other(uchar profileId) { store->markOtherDirty(profileId); }

// --- languages -----------------------------------------------------------------------------
QStringList myQQuickView::q7_getProductLayoutStrings(QString langCode) {
    return langs->productLayoutStrings(langCode);
}
QVariantMap myQQuickView::chkLanguages() { return langs->chkLanguages(); }
QStringList myQQuickView::getGlobalStrings(QString langCode) {
    return langs->getGlobalStrings(langCode);
}

// --- device settings -----------------------------------------------------------------------
uint myQQuickView::q7_GetMaxDpiStage() { return bridge->maxDpiStage(); }
void myQQuickView::q7_02H_SetCurrentProfile(uchar profileId) {
    const int before = currentProfile();
    bridge->setCurrentProfile(profileId);
    if (currentProfile() != before)
        emit currentProfileChanged();
}
void myQQuickView::q7_03H_SetReportRate(uchar rate) { bridge->setReportRate(rate); }
void myQQuickView::q7_04H_SetDPIStage(uchar stage) { bridge->setDpiStage(stage); }
void myQQuickView::q7_0CH_SetRGBLedEffect(uchar effect, uchar light, uchar speed) {
    bridge->setLedEffect(effect, light, speed);
}
void myQQuickView::q7_0CH_SetDpi8Color(QVariantList src24) {
    bridge->setIndicatorColours(src24);
}
void myQQuickView::q7_0CH_SetDpi8Io(QVariantList src8) { bridge->setIndicatorPaletteIndexes(src8); }
void myQQuickView::q7_0CH_SetDpi8Stage(QVariantList src16) {
    bridge->setDpiStageValues(src16);
}
void myQQuickView::q7_SetLED8StageColor(QVariantList src24) {
    bridge->setLightingColours(src24);
}
uchar myQQuickView::q7_82H_GetCurrentProfile() { return bridge->currentProfile(); }
uchar myQQuickView::q7_83H_GetReportRate() { return bridge->reportRate(); }
uchar myQQuickView::q7_84H_GetDPIStage() { return bridge->dpiStage(); }
uchar myQQuickView::q7_89H_GetRGBLedTwinkle() { return bridge->ledTwinkle(); }
QVariantList myQQuickView::q7_8CH_GetRGBLedEffect() { return bridge->ledEffect(); }
QVariantList myQQuickView::q7_8CH_GetDpi8Color() { return bridge->indicatorColours(); }
QVariantList myQQuickView::q7_8CH_GetDpi8Io() { return bridge->indicatorPaletteIndexes(); }
QVariantList myQQuickView::q7_8CH_GetDpi8Stage() { return bridge->dpiStageValues(); }
QVariantList myQQuickView::q7_GetLED8StageColor() { return bridge->lightingColours(); }

// --- key assignment --------------------------------------------------------------------------
void myQQuickView::q7_0DH_SetKeyMatrix(QVariantList src64) {
    bridge->setKeyMatrix(src64);
}
QVariantList myQQuickView::getKeydefine(QVariant matrixId) {
    return bridge->getKeydefine(matrixId);
}

// --- macros ----------------------------------------------------------------------------------
void myQQuickView::q7_0FH_SetMacroKey(QVariant macroId, QVariant name) {
    macros->uploadToSlot(macroId, name);
}
QList<uchar> myQQuickView::macroIncode(QStringList lines) { return macros->macroIncode(lines); }
void myQQuickView::loadMacroIniFromFile(QVariant name) { macros->loadMacroIniFromFile(name); }
void myQQuickView::saveMacroIniToFile(QVariant name) { macros->saveMacroIniToFile(name); }
void myQQuickView::renameMacroIniFile(QVariant oldName, QVariant newName) {
    macros->renameMacroIniFile(oldName, newName);
}
QVariant myQQuickView::createMacroIni() { return macros->createMacroIni(); }
QVariant myQQuickView::deleteMacroIni(QVariant name) { return macros->deleteMacroIni(name); }
QStringList myQQuickView::getMacroIniNames() { return macros->getMacroIniNames(); }
QVariant myQQuickView::saveMacroIni(QVariant name, QStringList lines) {
    return macros->saveMacroIni(name, lines);
}
QStringList myQQuickView::loadMacroIni(QVariant name) { return macros->loadMacroIni(name); }
QVariantList myQQuickView::loadMacroIniConfig(QVariant name) {
    return macros->loadMacroIniConfig(name);
}
void myQQuickView::setMacroIniConfig(QVariant name, QVariantList cfg) {
    macros->setMacroIniConfig(name, cfg);
}

// --- profiles that follow the active application -------------------------------------------
QVariantMap myQQuickView::getFollowRules() {
    return followEditor ? followEditor->state() : QVariantMap();
}
bool myQQuickView::setFollowRules(QVariantList rules, int noMatchProfile) {
    return followEditor && followEditor->save(rules, noMatchProfile);
}
QVariantMap myQQuickView::getFollowLastApplication() {
    return followEditor ? followEditor->lastApplication() : QVariantMap();
}
QVariantMap myQQuickView::getFollowStrings() {
    return langs->sectionTexts(QStringLiteral("rules"));
}
QVariantMap myQQuickView::getSectionStrings(const QString &section) {
    return langs->sectionTexts(section);
}

void myQQuickView::showNotice(const QString &text) {
    QWidget *top = window();
    if (!top || !top->isVisible() || top->isMinimized())
        return;
    emit noticeRequested(text);
}

// --- start-up ----------------------------------------------------------------------------------
void myQQuickView::initUI() {
    uiStarted = true;
    later([this] { emit uiInitRequested(); });
}
void myQQuickView::runUI() {
    later([this] { emit uiRunRequested(); });
}
void myQQuickView::openingPlayed() { returnFreedMemory(); }
void myQQuickView::lockView(int interval) { emit viewLockRequested(interval); }

void myQQuickView::later(std::function<void()> emitSignal) {
    QMetaObject::invokeMethod(this, std::move(emitSignal), Qt::QueuedConnection);
}
