#pragma once
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace ravo::test {

// Acts on the next modal dialog or message box once it shows (polling the
// event loop, so it works inside nested waits). `act` gets the dialog.
void onNextModal(std::function<void(QWidget* dialog)> act);
// The text of every label in `dialog`, one per line.
std::string labelTexts(QWidget* dialog);
// Clicks the button named `name` in `dialog`.
void clickButton(QWidget* dialog, const QString& name);
// Types into the line edit named `name` in `dialog`, replacing its text.
void typeInto(QWidget* dialog, const QString& name, const QString& text);
// Whether `widget` answers to `name` as a screen reader hears it: its whole
// accessible name, or for a label that shows a value the caption its name
// begins with ("Voltage" for "Voltage 4.050 V").
bool answersTo(const QWidget* widget, const QString& name);
// The first of `widgets` whose whole name is `name`, else the first that
// answers to it; null when none does.
template <typename T, typename List>
T* firstAnswering(const List& widgets, const QString& name)
{
    for (T* widget : widgets)
        if (widget->accessibleName() == name)
            return widget;
    for (T* widget : widgets)
        if (answersTo(widget, name))
            return widget;
    return nullptr;
}

}  // namespace ravo::test
