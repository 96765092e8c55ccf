#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace ravo::desktop {

// The small editors a settings row opens. Each is made for one edit: the
// caller fills the public fields, calls exec(), and reads them back only
// after Accepted. The dialogs collect text; converting and clamping it is
// the core's (entry_conversion.h), which the OK handlers only apply to
// their own value fields. An entry those rules would change is refused with
// its range under the field, and the dialog stays open: nothing is changed
// without the user seeing it.

class TEditBool : public QDialog {
    Q_OBJECT
public:
    explicit TEditBool(QWidget* parent = nullptr);
    int exec() override;
    void accept() override;

    QString label;
    QString firstText;
    QString secondText;
    bool value = false;

private:
    QLabel* labelText_;
    QRadioButton* first_;
    QRadioButton* second_;
};

class TEditInt : public QDialog {
    Q_OBJECT
public:
    explicit TEditInt(QWidget* parent = nullptr);
    int exec() override;
    void accept() override;

    QString label = "Edit value";
    int value = 0;
    int minimum = 0;
    int maximum = 1;
    int step = 1;
    // The edit field's text as the user left it.
    QString enteredText;

private:
    QLabel* labelText_;
    QLineEdit* edit_;
    QLabel* range_;
    QLabel* refusal_;
};

class TEditFloat : public QDialog {
    Q_OBJECT
public:
    explicit TEditFloat(QWidget* parent = nullptr);
    int exec() override;
    void accept() override;

    QString label = "Edit value";
    int precision = 1;
    double value = 0.0;
    double minimum = 0.0;
    double maximum = 1.0;
    double step = 0.01;  // neither shown nor applied
    QString enteredText;

private:
    QLabel* labelText_;
    QLineEdit* edit_;
    QLabel* range_;
    QLabel* refusal_;
};

class TSendReset : public QDialog {
    Q_OBJECT
public:
    explicit TSendReset(QWidget* parent = nullptr);
    int exec() override;

    QString text = "Send reset";

private:
    QLabel* textLine_;
};

class TSetRTC : public QDialog {
    Q_OBJECT
public:
    explicit TSetRTC(QWidget* parent = nullptr);
};

}  // namespace ravo::desktop
