#include "gui/preferences/PrefsViewController.h"

#include "gui/preferences/PreferenceChoices.h"
#include "gui/preferences/PreferencePictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace veltrane::gui {

namespace {

QGroupBox* group(const QString& title, QLayout* content)
{
    auto* box = new QGroupBox(title);
    box->setLayout(content);
    return box;
}

QVBoxLayout* column(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QVBoxLayout;
    for (auto* widget : widgets) {
        layout->addWidget(widget);
    }
    return layout;
}

// A picture beside the controls that choose it.
QHBoxLayout* besidePicture(QLabel* picture, QLayout* controls)
{
    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addLayout(controls, 1);
    return row;
}

// Selects the item carrying the value; a value no item carries leaves nothing selected.
void select(QComboBox* popUp, std::int64_t value)
{
    popUp->setCurrentIndex(popUp->findData(QVariant::fromValue(value)));
}

// A row that comes and goes with an option keeps its place, so the window does not jump.
void keepPlaceWhenHidden(QWidget* widget)
{
    auto policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

}  // namespace

PrefsViewController::PrefsViewController(const platform::Platform& platform, SharedInstances& shared,
                                         PreferenceActions& actions, LoginItem& loginItem, QWidget* parent)
    : QWidget(parent), platform_(platform), defaults_(shared.defaults()), hyperFlags_(shared.hyperFlags()),
      actions_(actions), loginItem_(loginItem), titleLabel_(new QLabel),
      includeShiftCheckbox_(checkbox("includeShiftCheckbox", tr("Include Shift in the chord"))),
      winKeyRemapCheckbox_(
          checkbox("winKeyRemapCheckbox", tr("Swap Super and Alt on keyboards not made by Apple"))),
      clickEventsCheckbox_(checkbox("clickEventsCheckbox", tr("Clicks"))),
      dragEventsCheckbox_(checkbox("dragEventsCheckbox", tr("Drags"))),
      moveEventsCheckbox_(checkbox("moveEventsCheckbox", tr("Moves"))),
      scrollEventsCheckbox_(checkbox("scrollEventsCheckbox", tr("Scrolls"))),
      physicalKeyImage_(picture("physicalKeyImage")),
      keyRemapCheckbox_(checkbox("keyRemapCheckbox", tr("Use this key as the hyper key:"))),
      physicalKeySelect_(popUp("physicalKeySelect", PreferenceChoices::physicalKeys())),
      capsLockRemapCheckbox_(checkbox("capsLockRemapCheckbox", tr("Remap Caps Lock to"))),
      capsLockRemapSelect_(popUp("capsLockRemapSelect", PreferenceChoices::capsLockRemap())),
      quickPressCheckbox_(checkbox("quickPressCheckbox", tr("A quick press sends"))),
      quickPressKeySelect_(popUp("quickPressKeySelect", PreferenceChoices::quickPressKeys())),
      trackpadGestureImageView_(picture("trackpadGestureImageView")),
      trackpadCheckbox_(checkbox("trackpadCheckbox", tr("Slide on the touchpad to hold the hyper key:"))),
      trackpadGestureSelect_(popUp("trackpadGestureSelect", PreferenceChoices::slides())),
      changeMenuBarIconCheckbox_(
          checkbox("changeMenuBarIconCheckbox", tr("Change the tray icon while the slide holds it"))),
      hapticFeedbackCheckbox_(
          checkbox("hapticFeedbackCheckbox", tr("Haptic feedback when the slide triggers"))),
      launchOnLoginCheckbox_(checkbox("launchOnLoginCheckbox", tr("Start Veltrane at login"))),
      versionButton_(new QPushButton),
      wakeRelaunchCheckbox_(
          checkbox("wakeRelaunchCheckbox", tr("Restart the listeners after the computer wakes"))),
      wakeRelaunchStackView_(new QWidget),
      hideMenuBarIconCheckbox_(checkbox("hideMenuBarIconCheckbox", tr("Hide the tray icon"))),
      checkForUpdatesAutomaticallyCheckbox_(
          checkbox("checkForUpdatesAutomaticallyCheckbox", tr("Check for updates automatically"))),
      checkForUpdatesButton_(new QPushButton(tr("Check Now")))
{
    setWindowTitle(tr("Veltrane Preferences"));
    // A tray utility keeps running when its last window closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    titleLabel_->setObjectName("titleLabel");
    versionButton_->setObjectName("versionButton");
    wakeRelaunchStackView_->setObjectName("wakeRelaunchStackView");
    checkForUpdatesButton_->setObjectName("checkForUpdatesButton");

    auto* columns = new QHBoxLayout(this);
    for (auto* groups : {column({hyperKeyGroup(), capsLockGroup(), quickPressGroup()}),
                         column({mouseGroup(), trackpadGroup(), applicationGroup()})}) {
        groups->addStretch();
        columns->addLayout(groups);
    }
    // The window takes the size its contents need, at any scale, and keeps it.
    columns->setSizeConstraint(QLayout::SetFixedSize);

    connectActions();
    // The first opening writes twice, in this order: the chord it shows, then the key mapping after
    // the caps lock rule. Everything else only shows what is stored.
    rebuildTitle();
    actions_.capsLockAvailability();
    synchronise();
}

QWidget* PrefsViewController::hyperKeyGroup()
{
    QFont chordFont = titleLabel_->font();
    chordFont.setPointSizeF(chordFont.pointSizeF() * 1.8);
    titleLabel_->setFont(chordFont);
    titleLabel_->setToolTip(
        tr("The modifiers every key, and the chosen mouse events, get while the hyper key is held"));
    auto* chord = new QHBoxLayout;
    chord->addWidget(new QLabel(tr("Hyper chord:")));
    chord->addWidget(titleLabel_, 1);
    winKeyRemapCheckbox_->setVisible(false);

    auto* content = new QVBoxLayout;
    content->addLayout(chord);
    content->addWidget(includeShiftCheckbox_);
    content->addLayout(besidePicture(physicalKeyImage_, column({keyRemapCheckbox_, physicalKeySelect_})));
    content->addWidget(winKeyRemapCheckbox_);
    return group(tr("Hyper key"), content);
}

QWidget* PrefsViewController::capsLockGroup()
{
    auto* content = new QFormLayout;
    content->addRow(capsLockRemapCheckbox_, capsLockRemapSelect_);
    return group(tr("Caps Lock"), content);
}

QWidget* PrefsViewController::quickPressGroup()
{
    quickPressCheckbox_->setToolTip(
        tr("Pressing and releasing the hyper key alone, quickly, sends this key"));
    auto* content = new QFormLayout;
    content->addRow(quickPressCheckbox_, quickPressKeySelect_);
    return group(tr("Quick press"), content);
}

QWidget* PrefsViewController::mouseGroup()
{
    auto* events = new QHBoxLayout;
    for (auto* checkbox :
         {clickEventsCheckbox_, dragEventsCheckbox_, moveEventsCheckbox_, scrollEventsCheckbox_}) {
        events->addWidget(checkbox);
    }
    events->addStretch();
    auto* content = new QVBoxLayout;
    content->addWidget(new QLabel(tr("While the hyper key is held, add its modifiers to:")));
    content->addLayout(events);
    return group(tr("Mouse"), content);
}

QWidget* PrefsViewController::trackpadGroup()
{
    auto* wakeRow = new QHBoxLayout(wakeRelaunchStackView_);
    wakeRow->setContentsMargins(0, 0, 0, 0);
    wakeRow->addWidget(wakeRelaunchCheckbox_);
    for (QWidget* option : std::initializer_list<QWidget*>{changeMenuBarIconCheckbox_,
                                                           hapticFeedbackCheckbox_, wakeRelaunchStackView_}) {
        keepPlaceWhenHidden(option);
    }
    auto* content = new QVBoxLayout;
    content->addLayout(
        besidePicture(trackpadGestureImageView_, column({trackpadCheckbox_, trackpadGestureSelect_})));
    content->addWidget(changeMenuBarIconCheckbox_);
    content->addWidget(hapticFeedbackCheckbox_);
    content->addWidget(wakeRelaunchStackView_);
    return group(tr("Touchpad"), content);
}

QWidget* PrefsViewController::applicationGroup()
{
    // Nothing updates the application from here on Linux: the package manager does.
    const bool hasUpdater = platform_.system.softwareUpdater() != nullptr;
    checkForUpdatesAutomaticallyCheckbox_->setVisible(hasUpdater);
    checkForUpdatesButton_->setVisible(hasUpdater);
    auto* updates = new QHBoxLayout;
    updates->addWidget(checkForUpdatesAutomaticallyCheckbox_);
    updates->addWidget(checkForUpdatesButton_);
    updates->addStretch();

    versionButton_->setFlat(true);
    versionButton_->setFocusPolicy(Qt::NoFocus);
    auto* version = new QHBoxLayout;
    version->addStretch();
    version->addWidget(versionButton_);

    auto* content = column({launchOnLoginCheckbox_, hideMenuBarIconCheckbox_});
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        auto* noTray = new QLabel(tr("This desktop shows no tray. To open these preferences again, start "
                                     "veltrane again, or Veltrane from the applications menu."));
        noTray->setObjectName("noTrayLabel");
        noTray->setWordWrap(true);
        content->addWidget(noTray);
    }
    content->addLayout(updates);
    content->addLayout(version);
    return group(tr("Application"), content);
}

QCheckBox* PrefsViewController::checkbox(const char* outlet, const QString& text)
{
    auto* checkbox = new QCheckBox(text);
    checkbox->setObjectName(outlet);
    return checkbox;
}

QComboBox* PrefsViewController::popUp(const char* outlet, const std::vector<PreferenceChoice>& choices)
{
    auto* popUp = new QComboBox;
    popUp->setObjectName(outlet);
    for (const auto& choice : choices) {
        popUp->addItem(choice.title, QVariant::fromValue(choice.tag));
    }
    // Long lists open as a menu one can scroll rather than across the whole screen.
    popUp->setMaxVisibleItems(16);
    return popUp;
}

QLabel* PrefsViewController::picture(const char* outlet)
{
    auto* label = new QLabel;
    label->setObjectName(outlet);
    label->setFixedSize(PreferencePictures::kSize, PreferencePictures::kSize);
    return label;
}

void PrefsViewController::connectActions()
{
    onClick(includeShiftCheckbox_, [this](bool on) { toggleShift(on); });
    onClick(keyRemapCheckbox_, [this](bool on) { togglePhysicalKeyRemap(on); });
    onSelect(physicalKeySelect_, [this](std::int64_t usage) { selectPhysicalKey(usage); });
    connectToggle(capsLockRemapCheckbox_, &Defaults::capsLockRemapped);
    connectSelect(capsLockRemapSelect_, &Defaults::capsLockKeycode);
    connectToggle(quickPressCheckbox_, &Defaults::executeQuickHyperKey);
    connectSelect(quickPressKeySelect_, &Defaults::quickHyperKeycode);
    connectToggle(winKeyRemapCheckbox_, &Defaults::winRemap);
    connectToggle(clickEventsCheckbox_, &Defaults::applyToClick);
    connectToggle(dragEventsCheckbox_, &Defaults::applyToDrag);
    connectToggle(moveEventsCheckbox_, &Defaults::applyToMove);
    connectToggle(scrollEventsCheckbox_, &Defaults::applyToScroll);
    onClick(trackpadCheckbox_, [this](bool on) { toggleTrackpad(on); });
    onSelect(trackpadGestureSelect_, [this](std::int64_t gesture) {
        defaults_.gestures().setValue(gesture);
        showGestureImage();
    });
    connectToggle(changeMenuBarIconCheckbox_, &Defaults::changeMenuBarIcon);
    connectToggle(hapticFeedbackCheckbox_, &Defaults::hapticFeedback);
    connectToggle(wakeRelaunchCheckbox_, &Defaults::autoRestartOnWake);
    onClick(launchOnLoginCheckbox_, [this](bool on) { toggleLaunchOnLogin(on); });
    onClick(hideMenuBarIconCheckbox_, [this](bool on) {
        defaults_.hideMenuBarIcon().setEnabled(on);
        actions_.settingChanged("hideMenuBarIcon");
    });
    if (auto* updater = platform_.system.softwareUpdater()) {
        onClick(checkForUpdatesAutomaticallyCheckbox_,
                [updater](bool on) { updater->setAutomaticallyChecksForUpdates(on); });
        connect(checkForUpdatesButton_, &QPushButton::clicked, this,
                [updater] { updater->checkForUpdates(); });
    }
}

// Only what the user does counts: a control set from the settings sends nothing.
void PrefsViewController::onClick(QCheckBox* checkbox, std::function<void(bool)> action)
{
    connect(checkbox, &QCheckBox::clicked, this, std::move(action));
}

void PrefsViewController::onSelect(QComboBox* popUp, std::function<void(std::int64_t)> action)
{
    connect(popUp, &QComboBox::activated, this,
            [popUp, action = std::move(action)](int index) { action(popUp->itemData(index).toLongLong()); });
}

void PrefsViewController::connectToggle(QCheckBox* checkbox, OptionalBoolDefault& (Defaults::*setting)())
{
    onClick(checkbox, [this, setting](bool on) {
        auto& written = (defaults_.*setting)();
        written.setEnabled(on);
        actions_.settingChanged(written.key());
    });
}

void PrefsViewController::connectSelect(QComboBox* popUp, IntDefault& (Defaults::*setting)())
{
    onSelect(popUp, [this, setting](std::int64_t tag) {
        auto& written = (defaults_.*setting)();
        written.setValue(tag);
        actions_.settingChanged(written.key());
    });
}

void PrefsViewController::toggleShift(bool on)
{
    if (on != ((hyperFlags_.flags() & platform::kFlagShift) != 0)) {
        hyperFlags_.setFlags(hyperFlags_.flags() ^ platform::kFlagShift);
    }
    rebuildTitle();
}

// The caps lock rule needs the new setting; the listener and the key mapping come after it.
void PrefsViewController::togglePhysicalKeyRemap(bool on)
{
    defaults_.keyRemap().setEnabled(on);
    actions_.settingChanged("keyRemap");
    showCapsLockAvailability();
}

void PrefsViewController::selectPhysicalKey(std::int64_t usage)
{
    defaults_.physicalKeycode().setValue(usage);
    showPhysicalKeyImage();
    actions_.settingChanged("physicalKeycode");
    showCapsLockAvailability();
}

void PrefsViewController::toggleTrackpad(bool on)
{
    defaults_.oneSwipeFromTop().setEnabled(on);
    showTrackpadOptions();
    actions_.settingChanged("oneSwipeFromTop");
}

// The login item first: the setting records what was asked of it.
void PrefsViewController::toggleLaunchOnLogin(bool on)
{
    loginItem_.setLaunchOnLogin(on);
    defaults_.launchOnLogin().setEnabled(on);
}

void PrefsViewController::synchronise()
{
    showTitle();
    keyRemapCheckbox_->setChecked(defaults_.keyRemap().isOn());
    quickPressCheckbox_->setChecked(defaults_.executeQuickHyperKey().isOn());
    select(quickPressKeySelect_, defaults_.quickHyperKeycode().value());
    showPhysicalKeyImage();
    select(physicalKeySelect_, defaults_.physicalKeycode().value());
    showCapsLockAvailability();
    select(capsLockRemapSelect_, defaults_.capsLockKeycode().value());

    trackpadCheckbox_->setChecked(defaults_.oneSwipeFromTop().isOn());
    select(trackpadGestureSelect_, defaults_.gestures().value());
    showGestureImage();
    changeMenuBarIconCheckbox_->setChecked(defaults_.changeMenuBarIcon().isOn());
    hapticFeedbackCheckbox_->setChecked(defaults_.hapticFeedback().isOn());
    wakeRelaunchCheckbox_->setChecked(defaults_.autoRestartOnWake().isOn());
    showTrackpadOptions();

    // Once shown, the option stays until the next run, so that whoever turned it off can turn it on.
    winKeyRemapCheckbox_->setChecked(defaults_.winRemap().isOn());
    if (defaults_.winRemap().isOn()) {
        winKeyRemapCheckbox_->setVisible(true);
    }
    clickEventsCheckbox_->setChecked(!defaults_.applyToClick().isOff());
    dragEventsCheckbox_->setChecked(defaults_.applyToDrag().isOn());
    moveEventsCheckbox_->setChecked(defaults_.applyToMove().isOn());
    scrollEventsCheckbox_->setChecked(defaults_.applyToScroll().isOn());
    launchOnLoginCheckbox_->setChecked(defaults_.launchOnLogin().enabled());
    hideMenuBarIconCheckbox_->setChecked(defaults_.hideMenuBarIcon().enabled());
    showVersion();
}

void PrefsViewController::changeEvent(QEvent* event)
{
    // The pictures are drawn in the theme's text colour: a new theme needs them drawn again.
    if (event->type() == QEvent::PaletteChange) {
        showPhysicalKeyImage();
        showGestureImage();
    }
    QWidget::changeEvent(event);
}

// Shown the chord is the chord kept: the stored setting follows the shared flags.
void PrefsViewController::rebuildTitle()
{
    defaults_.hyperFlags().setValue(static_cast<std::int64_t>(hyperFlags_.flags()));
    showTitle();
}

void PrefsViewController::showTitle()
{
    // As Linux desktops write shortcuts, in their order.
    static constexpr std::array<std::pair<platform::EventFlags, const char*>, 4> names = {{
        {platform::kFlagControl, "Ctrl"},
        {platform::kFlagOption, "Alt"},
        {platform::kFlagCommand, "Super"},
        {platform::kFlagShift, "Shift"},
    }};
    QStringList chord;
    for (const auto& [flag, name] : names) {
        if ((hyperFlags_.flags() & flag) != 0) {
            chord << QString::fromUtf8(name);
        }
    }
    titleLabel_->setText(chord.join('+'));
    includeShiftCheckbox_->setChecked((hyperFlags_.flags() & platform::kFlagShift) != 0);
}

void PrefsViewController::showPhysicalKeyImage()
{
    physicalKeyImage_->setPixmap(PreferencePictures::picture(
        PreferencePictures::physicalKeyPicture(defaults_.physicalKeycode().value()),
        palette().color(QPalette::WindowText), devicePixelRatioF()));
}

void PrefsViewController::showGestureImage()
{
    trackpadGestureImageView_->setPixmap(
        PreferencePictures::picture(PreferencePictures::gesturePicture(defaults_.gestures().value()),
                                    palette().color(QPalette::WindowText), devicePixelRatioF()));
}

// The settings hold what the rule decided; the checkbox shows it.
void PrefsViewController::showCapsLockAvailability()
{
    const bool available = actions_.capsLockRemapAvailable();
    capsLockRemapCheckbox_->setEnabled(available);
    capsLockRemapCheckbox_->setChecked(available && defaults_.capsLockRemapped().isOn());
}

void PrefsViewController::showTrackpadOptions()
{
    const bool on = defaults_.oneSwipeFromTop().isOn();
    changeMenuBarIconCheckbox_->setVisible(on);
    hapticFeedbackCheckbox_->setVisible(on && platform_.system.hasHapticFeedback());
    wakeRelaunchStackView_->setVisible(on);
}

void PrefsViewController::showVersion()
{
    const auto info = [this](const char* key) {
        return QString::fromStdString(platform_.bundle.infoString(key).value_or(""));
    };
    versionButton_->setText(
        QStringLiteral("v%1 (%2)").arg(info("CFBundleShortVersionString"), info("CFBundleVersion")));
}

}  // namespace veltrane::gui
