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

}  // namespace ravo::test
