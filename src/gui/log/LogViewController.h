#pragma once

#include <QWidget>

class QString;

namespace veltrane::gui {

class KeyDownTextView;

// The log window's content: the read-only, monospaced text of the log with a button that clears it.
class LogViewController final : public QWidget {
public:
    explicit LogViewController(QWidget* parent = nullptr);

    // Appends the text as it is; the view follows the end only when it was already showing it, so
    // that someone reading older lines is not pulled away.
    void appendLine(const QString& text);
    void clear();
    KeyDownTextView& textView() { return *textView_; }

private:
    KeyDownTextView* textView_;
};

}  // namespace veltrane::gui
