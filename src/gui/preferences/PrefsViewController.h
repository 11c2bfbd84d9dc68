#pragma once

#include "app/LoginItem.h"
#include "app/PreferenceActions.h"
#include "app/SharedInstances.h"
#include "platform/Platform.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace veltrane::gui {

struct PreferenceChoice;

// The preferences window: a control for each setting the user may change, written back at once,
// after which the engine is told what to re-apply. Made without a parent it is the window itself,
// titled "Veltrane Preferences". Every control carries its outlet's name as object name.
class PrefsViewController final : public QWidget {
public:
    // Synchronises the controls, as the window loads: this stores the hyper chord and applies the
    // key mapping once.
    PrefsViewController(const platform::Platform& platform, SharedInstances& shared,
                        PreferenceActions& actions, LoginItem& loginItem, QWidget* parent = nullptr);

    // Shows the settings as they are now, after something else changed them (the settings file):
    // reads every value into its control and writes nothing. What the change means for the engine
    // is the business of whoever made it.
    void synchronise();

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* hyperKeyGroup();
    QWidget* capsLockGroup();
    QWidget* quickPressGroup();
    QWidget* mouseGroup();
    QWidget* trackpadGroup();
    QWidget* applicationGroup();
    QCheckBox* checkbox(const char* outlet, const QString& text);
    QComboBox* popUp(const char* outlet, const std::vector<PreferenceChoice>& choices);
    QLabel* picture(const char* outlet);

    void connectActions();
    void onClick(QCheckBox* checkbox, std::function<void(bool)> action);
    void onSelect(QComboBox* popUp, std::function<void(std::int64_t)> action);
    // Writes the checkbox's state and lets the engine follow the setting.
    void connectToggle(QCheckBox* checkbox, OptionalBoolDefault& (Defaults::*setting)());
    void connectSelect(QComboBox* popUp, IntDefault& (Defaults::*setting)());

    void toggleShift(bool on);
    void togglePhysicalKeyRemap(bool on);
    void selectPhysicalKey(std::int64_t usage);
    void toggleTrackpad(bool on);
    void toggleLaunchOnLogin(bool on);

    void rebuildTitle();
    void showTitle();
    void showPhysicalKeyImage();
    void showGestureImage();
    void showCapsLockAvailability();
    void showTrackpadOptions();
    void showVersion();

    const platform::Platform& platform_;
    Defaults& defaults_;
    HyperFlags& hyperFlags_;
    PreferenceActions& actions_;
    LoginItem& loginItem_;

    QLabel* titleLabel_;
    QCheckBox* includeShiftCheckbox_;
    QCheckBox* winKeyRemapCheckbox_;
    QCheckBox* clickEventsCheckbox_;
    QCheckBox* dragEventsCheckbox_;
    QCheckBox* moveEventsCheckbox_;
    QCheckBox* scrollEventsCheckbox_;
    QLabel* physicalKeyImage_;
    QCheckBox* keyRemapCheckbox_;
    QComboBox* physicalKeySelect_;
    QCheckBox* capsLockRemapCheckbox_;
    QComboBox* capsLockRemapSelect_;
    QCheckBox* quickPressCheckbox_;
    QComboBox* quickPressKeySelect_;
    QLabel* trackpadGestureImageView_;
    QCheckBox* trackpadCheckbox_;
    QComboBox* trackpadGestureSelect_;
    QCheckBox* changeMenuBarIconCheckbox_;
    QCheckBox* hapticFeedbackCheckbox_;
    QCheckBox* launchOnLoginCheckbox_;
    QPushButton* versionButton_;
    QCheckBox* wakeRelaunchCheckbox_;
    QWidget* wakeRelaunchStackView_;
    QCheckBox* hideMenuBarIconCheckbox_;
    QCheckBox* checkForUpdatesAutomaticallyCheckbox_;
    QPushButton* checkForUpdatesButton_;
};

}  // namespace veltrane::gui
