#include "modal_helpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace ravo::test {

void onNextModal(std::function<void(QWidget* dialog)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

std::string labelTexts(QWidget* dialog)
{
    std::string text;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            text += label->text().toStdString() + "\n";
    return text;
}

void clickButton(QWidget* dialog, const QString& name)
{
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->accessibleName() == name || button->text() == name) {
            // A radio button takes clicks on its mark and its text, not on the rest of its row.
            QPoint at = button->isCheckable() ? QPoint(6, button->height() / 2) : button->rect().center();
            QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
            return;
        }
    ADD_FAILURE() << "no button " << name.toStdString();
}

void typeInto(QWidget* dialog, const QString& name, const QString& text)
{
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
        if (edit->accessibleName() == name) {
            edit->selectAll();
            QTest::keyClicks(edit, text);
            return;
        }
    ADD_FAILURE() << "no edit field " << name.toStdString();
}

bool answersTo(const QWidget* widget, const QString& name)
{
    const QString given = widget->accessibleName();
    return given == name || (qobject_cast<const QLabel*>(widget) && given.startsWith(name + " "));
}

}  // namespace ravo::test
