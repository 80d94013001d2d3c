#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

// What a screen that edits one record tells the toolkit, so that typed work is never lost silently.
class RecordEditor
{
public:
    virtual ~RecordEditor() = default;

    // True when the record on screen differs from the one last shown or saved.
    virtual bool hasUnsavedChanges() const = 0;
    // How the save question names the record, e.g. "Testerman, John".
    virtual QString recordName() const = 0;
    // The save question: "Save changes to <recordName>?" unless the screen words it for what it holds.
    virtual QString saveQuestion() const;
    // Runs the screen's normal save, with its permission test, rules and messages; false when it refused
    // or failed (the record then stays on screen with its changes).
    virtual bool saveRecord() = 0;
};

namespace UnsavedChanges {

// Asked before the shown record is replaced or the screen closes. An unchanged record may go at once; a
// changed one asks "Save changes to <name>?" with Save, Discard and Cancel. Save runs the screen's save
// and lets go only when it succeeded; Discard lets go; Cancel stays. Text typed into a date box of the
// screen and not taken yet counts as a change (see DateBox::holdsTypedChange).
bool mayLeave(RecordEditor& editor);

// Makes every way of closing the screen ask first (Exit, the close box, the main window closing, Log
// Off), and Escape close it.
void guardClose(QWidget* screen, RecordEditor& editor);

} // namespace UnsavedChanges
