#pragma once

#include <QString>

#include <optional>

class QWidget;

// What a screen checks of its boxes before a save: every typed date and phone number taken, or the first
// wrong box named.
namespace Controls {

// A caption as messages quote it, without its access key marker and closing colon: "&Home Phone:" is
// "Home Phone".
QString plainCaption(QString text);

// The name messages give a field: its accessible name when it has one, else the text of the label whose
// buddy it is or that stands before it in its layout row, else its object name.
QString fieldName(const QWidget* field);

// A box on a screen whose text was not taken, with the message naming it.
struct BadEntry
{
    QWidget* box = nullptr;
    QString message;
    QString title;
};
// Takes what was typed into every date box (enabled ones) and phone box on the screen, in the order they
// were built: typed dates are set, phone numbers put in their stored form. Returns the first box whose text
// is no date or no phone number, without showing anything.
std::optional<BadEntry> checkEntries(QWidget* screen);
// For a save: checkEntries, and when a box is wrong its message is shown and the box gets the focus.
// True when every box holds what it should.
bool acceptEntries(QWidget* screen);

} // namespace Controls
