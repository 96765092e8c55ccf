#include "desktop/unit/setting_dialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/entry_conversion.h"

namespace ravo::desktop {
namespace {

// OK and Cancel, or the given text on the OK button; every button named by its text.
QDialogButtonBox* okCancel(QDialog* dialog, const QString& okText = {})
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    ok->setText(okText.isEmpty() ? QString("OK") : okText);
    cancel->setText("Cancel");
    ok->setAccessibleName(ok->text());
    cancel->setAccessibleName("Cancel");
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLineEdit* valueEdit(QDialog* dialog)
{
    auto* edit = new QLineEdit(dialog);
    edit->setMinimumWidth(160);
    return edit;
}

// The number editors' form: the label (naming the field for screen readers),
// the edit field, the range line, OK and Cancel.
void buildValueForm(QDialog* dialog, QLabel*& labelText, QLineEdit*& edit, QLabel*& range, QLabel*& refusal)
{
    dialog->setWindowTitle("Edit value");
    auto* layout = new QVBoxLayout(dialog);
    labelText = new QLabel("Value", dialog);
    edit = valueEdit(dialog);
    range = new QLabel(dialog);
    labelText->setBuddy(edit);
    layout->addWidget(labelText);
    layout->addWidget(edit);
    layout->addWidget(range);
    refusal = new QLabel(dialog);
    refusal->setWordWrap(true);
    refusal->setStyleSheet("QLabel { color: #b3261e; }");
    refusal->hide();
    layout->addWidget(refusal);
    layout->addWidget(okCancel(dialog));
}

// Shows why the entry was refused; true when it was.
bool refused(QLabel* refusal, QLineEdit* edit, const std::string& why)
{
    if (why.empty())
        return false;
    refusal->setText(QString::fromStdString(why));
    refusal->setAccessibleName(refusal->text());
    refusal->show();
    edit->setAccessibleDescription(refusal->text());
    edit->setFocus();
    edit->selectAll();
    return true;
}

void fillValueForm(QLabel* labelText, QLineEdit* edit, QLabel* range, const QString& label,
                   const std::string& rangeText, const QString& valueText)
{
    labelText->setText(label);
    edit->setAccessibleName(label);
    range->setText(QString::fromStdString(rangeText));
    edit->setText(valueText);
    edit->selectAll();
}

}  // namespace

TEditBool::TEditBool(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Edit value");
    auto* layout = new QVBoxLayout(this);
    labelText_ = new QLabel("Edit boolean", this);
    first_ = new QRadioButton("on", this);
    second_ = new QRadioButton("off", this);
    layout->addWidget(labelText_);
    layout->addWidget(first_);
    layout->addWidget(second_);
    layout->addWidget(okCancel(this));
}

int TEditBool::exec()
{
    labelText_->setText(label);
    first_->setText(firstText);
    second_->setText(secondText);
    first_->setAccessibleName(firstText);
    second_->setAccessibleName(secondText);
    (value ? first_ : second_)->setChecked(true);
    return QDialog::exec();
}

void TEditBool::accept()
{
    value = first_->isChecked();
    QDialog::accept();
}

TEditInt::TEditInt(QWidget* parent) : QDialog(parent)
{
    buildValueForm(this, labelText_, edit_, range_, refusal_);
}

int TEditInt::exec()
{
    fillValueForm(labelText_, edit_, range_, label, intRangeText(minimum, maximum, step), QString::number(value));
    return QDialog::exec();
}

void TEditInt::accept()
{
    if (refused(refusal_, edit_, intEntryRefusal(edit_->text().toStdString(), minimum, maximum, step)))
        return;
    enteredText = edit_->text();
    value = clampIntEntry(enteredText.toStdString(), minimum, maximum, step);
    QDialog::accept();
}

TEditFloat::TEditFloat(QWidget* parent) : QDialog(parent)
{
    buildValueForm(this, labelText_, edit_, range_, refusal_);
}

int TEditFloat::exec()
{
    // The C locale's decimal point, as the conversion on OK reads it.
    fillValueForm(labelText_, edit_, range_, label, realRangeText(precision, minimum, maximum),
                  QString::number(value, 'f', precision));
    return QDialog::exec();
}

void TEditFloat::accept()
{
    if (refused(refusal_, edit_, realEntryRefusal(edit_->text().toStdString(), precision, minimum, maximum)))
        return;
    enteredText = edit_->text();
    value = clampRealEntry(enteredText.toStdString(), minimum, maximum);
    QDialog::accept();
}

TSendReset::TSendReset(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Reset value");
    auto* layout = new QVBoxLayout(this);
    textLine_ = new QLabel(this);
    layout->addWidget(textLine_);
    layout->addWidget(okCancel(this, "Send RESET"));
}

int TSendReset::exec()
{
    textLine_->setText(text);
    return QDialog::exec();
}

TSetRTC::TSetRTC(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Set RTC");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Set RealTimeClock", this));
    layout->addWidget(okCancel(this, "Set to NOW"));
}

}  // namespace ravo::desktop
