#pragma once

#include <QCoreApplication>
#include <QString>

// The one rule that tells whether two records are the same person: the same last and first name (folded:
// any capitals, blanks simplified) and one of the same birth date, e-mail, phone or address. The import's
// update of matched people and its possible duplicates both ask it.
namespace DuplicateRule {

struct Person
{
    QString last;
    QString first;
    QString birth; // ISO
    QString email;
    QString phone;   // as stored
    QString address; // first address line
};

// The key people are looked up by before the rule is asked: last and first name folded.
QString nameKey(const QString& last, const QString& first);
// Why a and b are the same person ("same name and birth date", …), or an empty text when they are not.
QString sameness(const Person& a, const Person& b);

} // namespace DuplicateRule
