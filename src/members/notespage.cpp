#include "members/notespage.h"

#include "core/textformat.h"
#include "widgets/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Controls;

NotesPage::NotesPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pageNotes"));
    QGroupBox* notesFrame = frame(this, QStringLiteral("frameNotes"), tr("Notes"));
    m_notes = textBox(notesFrame, QStringLiteral("txtNotes"));
    auto* notesLayout = new QVBoxLayout(notesFrame);
    notesLayout->addWidget(m_notes);

    m_added = lineEdit(this, QStringLiteral("txtAdded"));
    makeDisplayOnly(m_added);
    m_edited = lineEdit(this, QStringLiteral("txtEdited"));
    makeDisplayOnly(m_edited);

    auto* audit = new QGridLayout;
    audit->addWidget(label(this, tr("Added")), 0, 0);
    audit->addWidget(m_added, 0, 1);
    audit->addWidget(label(this, tr("Last Edited")), 1, 0);
    audit->addWidget(m_edited, 1, 1);
    // Wide enough for a date with its time and a user name, so the text is seen whole.
    audit->setColumnStretch(1, 1);
    audit->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notesFrame, 1);
    layout->addLayout(audit);
}

void NotesPage::clear()
{
    m_notes->clear();
    m_added->clear();
    m_edited->clear();
}

void NotesPage::show(const MemberRecord& r)
{
    m_notes->setPlainText(r.notes);
    showAudit(r);
}

void NotesPage::readInto(MemberRecord& r) const
{
    r.notes = m_notes->toPlainText();
}

void NotesPage::showAudit(const MemberRecord& r)
{
    m_added->setText(auditText(r.dateAdded, r.addedBy));
    m_edited->setText(auditText(r.dateEdited, r.editedBy));
}

QString NotesPage::auditText(const std::optional<QDateTime>& when, const QString& who)
{
    if (!when && who.isEmpty()) {
        return {};
    }
    const QString date = when ? shortDateTime(*when) : QString();
    return date + QStringLiteral(" - ") + who;
}
