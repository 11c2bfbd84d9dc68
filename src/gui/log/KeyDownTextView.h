#pragma once

#include <QPlainTextEdit>

namespace veltrane::gui {

// The log's text view, with the window's two shortcuts: Control-W closes the window, Control-H
// hides it. Every other key is handled as by any text view.
class KeyDownTextView final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace veltrane::gui
