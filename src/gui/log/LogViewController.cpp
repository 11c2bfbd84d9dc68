#include "gui/log/LogViewController.h"

#include "gui/log/KeyDownTextView.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace veltrane::gui {

namespace {

QFont logFont()
{
    auto font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    return font;
}

}  // namespace

LogViewController::LogViewController(QWidget* parent) : QWidget(parent), textView_(new KeyDownTextView(this))
{
    textView_->setReadOnly(true);
    textView_->setFont(logFont());

    auto* clearButton = new QPushButton(tr("Clear"), this);
    // Clicking it leaves the focus, and so the window's shortcuts, with the text.
    clearButton->setFocusPolicy(Qt::TabFocus);
    connect(clearButton, &QPushButton::clicked, this, [this] { clear(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(clearButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textView_, 1);
    layout->addLayout(buttons);
    setFocusProxy(textView_);
}

void LogViewController::appendLine(const QString& text)
{
    auto* scrollBar = textView_->verticalScrollBar();
    const bool wasAtBottom = scrollBar->value() == scrollBar->maximum();
    // A cursor of its own: the user's selection stays where it is.
    QTextCursor end(textView_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    if (wasAtBottom) {
        scrollBar->setValue(scrollBar->maximum());
    }
}

void LogViewController::clear()
{
    textView_->clear();
}

}  // namespace veltrane::gui
