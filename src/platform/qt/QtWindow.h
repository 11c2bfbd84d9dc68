#pragma once

#include "platform/Windows.h"

#include <QObject>

#include <functional>
#include <memory>

class QWidget;

namespace veltrane::qtshell {

// A top-level widget as the application's window. The program lives in the tray, so closing it
// never ends the program. Made, used and destroyed on the GUI thread.
class QtWindow final : public QObject, public platform::Window {
public:
    explicit QtWindow(std::unique_ptr<QWidget> widget);
    ~QtWindow() override;
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    void show() override;
    // Raises the window and gives it the keyboard, bringing it back first when it is minimized:
    // a minimized window cannot take the keys.
    void makeKey() override;
    // Closes the window even when a close button action is set: only the button is replaced.
    void close() override;
    bool isMiniaturized() const override;
    void deminiaturize() override;
    void setCloseButtonAction(std::function<void()> action) override;

    QWidget& widget() { return *widget_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<QWidget> widget_;
    std::function<void()> closeButtonAction_;
    bool closingFromProgram_ = false;
};

}  // namespace veltrane::qtshell
