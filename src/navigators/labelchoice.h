#pragma once

class QCheckBox;
class QHBoxLayout;
class QPushButton;

// "Print one label per household" beside a navigator's mailing label button: unticked the labels are one
// per person, as ever.
QCheckBox* addHouseholdLabelChoice(QHBoxLayout* row, QPushButton* labelButton);
