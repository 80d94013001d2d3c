#pragma once

#include <QDate>
#include <QString>

// What the program says of its own build: its version and the day it was built.
namespace BuildInfo {

QString version();
QDate date();
// "Kelvane 4.7, built 12/23/2026": the About screen's second line.
QString description();

} // namespace BuildInfo
