#include "navigators/labelchoice.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>

QCheckBox* addHouseholdLabelChoice(QHBoxLayout* row, QPushButton* labelButton)
{
    auto* choice = new QCheckBox(QCoreApplication::translate("Navigators", "Print one label per &household"),
                                 labelButton->parentWidget());
    choice->setObjectName(QStringLiteral("chkLabelPerHousehold"));
    row->insertWidget(row->indexOf(labelButton) + 1, choice);
    return choice;
}
