#include "desktop/unit/desktop_edit_host.h"

#include <QMessageBox>
#include <QWidget>

#include "app/app_config.h"
#include "desktop/unit/setting_dialogs.h"
#include "settings/settings_rows.h"

namespace ravo::desktop {
namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

bool editBool(QWidget* parent, int rowId, const EditorRequest& e, std::string& entered)
{
    TEditBool dialog(parent);
    std::string listTrue, listFalse;
    const bool listTexts = boolRowTexts(rowId, listTrue, listFalse);
    dialog.label = qs(e.label);
    dialog.firstText = qs(listTexts ? listTrue : e.firstText);
    dialog.secondText = qs(listTexts ? listFalse : e.secondText);
    dialog.value = e.boolValue;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entered = dialog.value ? e.firstText : e.secondText;
    return true;
}

bool editInt(QWidget* parent, const EditorRequest& e, std::string& entered)
{
    TEditInt dialog(parent);
    dialog.label = qs(e.label);
    dialog.value = e.intValue;
    dialog.minimum = e.intMin;
    dialog.maximum = e.intMax;
    dialog.step = e.intStep;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entered = dialog.enteredText.toStdString();
    return true;
}

bool editReal(QWidget* parent, const EditorRequest& e, std::string& entered)
{
    TEditFloat dialog(parent);
    dialog.label = qs(e.label);
    dialog.precision = e.precision;
    dialog.value = e.realValue;
    dialog.minimum = e.realMin;
    dialog.maximum = e.realMax;
    dialog.step = e.realStep;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entered = dialog.enteredText.toStdString();
    return true;
}

}  // namespace

bool DesktopEditHost::showEditor(const EditorRequest& editor, std::string& entered)
{
    switch (editor.kind) {
    case EditorKind::Bool: return editBool(parent_, rowId, editor, entered);
    case EditorKind::Int: return editInt(parent_, editor, entered);
    case EditorKind::Real: return editReal(parent_, editor, entered);
    case EditorKind::Reset: {
        TSendReset dialog(parent_);
        dialog.text = qs(editor.label);
        return dialog.exec() == QDialog::Accepted;
    }
    case EditorKind::Clock: {
        TSetRTC dialog(parent_);
        return dialog.exec() == QDialog::Accepted;
    }
    }
    return false;
}

void DesktopEditHost::notice(const std::string& text)
{
    QMessageBox::information(parent_, kProgramName, qs(text));
}

}  // namespace ravo::desktop
