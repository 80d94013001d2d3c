#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// File dialogs through one place, so that tests can answer them without showing them.
namespace FileDialogs {

// The chosen file, or an empty text when the user cancelled. selectedFilter, when given, is the entry of
// the filter shown first.
QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter = {}, const QString& folder = {},
                        const QString& selectedFilter = {});
// selectedFilter, when given, receives the filter entry the user chose (the first one unless another).
QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter = {}, const QString& folder = {},
                        QString* selectedFilter = nullptr);

// The chosen folder, or an empty text when the user cancelled.
QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& folder = {});
// The next dialog is not shown but answered with this name (an empty name answers as a cancel) and, for a
// save dialog, the chosen filter entry (empty: the first). Answers queue up in order.
void setNextFileName(const QString& fileName, const QString& selectedFilter = {});
// Drops answers not used yet.
void clearNextFileNames();
// The captions of the dialogs answered from the queue since the last call.
QStringList takeAsked();

} // namespace FileDialogs
