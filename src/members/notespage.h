#pragma once

#include "members/memberstore.h"

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

// Page "Notes": the free notes and who added and last edited the person.
class NotesPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotesPage)

public:
    explicit NotesPage(QWidget* parent = nullptr);

    void clear();
    void show(const MemberRecord& record);
    void readInto(MemberRecord& record) const;
    // Shows the audit columns as "date - user".
    void showAudit(const MemberRecord& record);

    // "date - user", or nothing when neither is known.
    static QString auditText(const std::optional<QDateTime>& when, const QString& who);

private:
    QPlainTextEdit* m_notes;
    QLineEdit* m_added;
    QLineEdit* m_edited;
};
