#include "desktop/value_label.h"

#include <QLabel>

#include "jobs/unit_view_texts.h"

namespace ravo::desktop {

void showValue(QLabel* label, const std::string& caption, const std::string& value)
{
    label->setText(QString::fromStdString(value));
    label->setAccessibleName(QString::fromStdString(valueLabelName(caption, value)));
}

}  // namespace ravo::desktop
