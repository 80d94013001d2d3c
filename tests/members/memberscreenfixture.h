#pragma once

#include "data/database.h"
#include "members/memberentryscreen.h"
#include "members/memberscreenstate.h"
#include "members/memberstore.h"
#include "widgets/datebox.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/typeahead.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <stdexcept>

inline const QDate kToday(2026, 3, 15);

// The twenty controls that the church status opens and closes.
inline const QStringList kMemberFields = {"dtMemberSince",    "chkMemberSince", "txtPreviousChurch",  "dtCameForward",
                                          "chkCameForward",   "dtBaptized",     "chkBaptized",        "dtLetterOut",
                                          "chkLetterOut",     "dtDeceased",     "chkDeceased",        "cmbSSAttend",
                                          "cmbWorshipAttend", "cmbDiscAttend",  "cmbSundayEveAttend", "cmbWedAttend",
                                          "cmbSSClass",       "cmbCareGroup",   "cmbDiscClass",       "cmbWedClass"};

inline QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

inline QStringList messages(const QList<MessageLog::Shown>& shown)
{
    QStringList out;
    for (const auto& m : shown) {
        out << m.title + " | " + m.text;
    }
    return out;
}

// A member screen on a test database with classes, a deacon with his care group and a two-step outreach
// plan, as every member screen suite starts; and what a user does on it, by control name.
class MemberScreenFixture : public QObject
{
protected:
    void setUp();
    void tearDown();

    template <typename T>
    T* find(const QString& name) const
    {
        return GuiTest::find<T>(m_screen, name);
    }
    void choose(const QString& listName, const QString& text) const;
    void type(const QString& boxName, const QString& text) const;
    void click(const QString& buttonName) const;
    void fillRequired(const QString& first, const QString& last) const;
    void openScreen();
    void grantOnly(const QStringList& permissions);
    qint64 count(const QString& sql, const QVariantList& params = {}) const;
    Database& db() const { return m_context->db(); }

    std::unique_ptr<TestDatabase> m_testDb;
    FakeClock m_clock;
    std::unique_ptr<AppContext> m_context;
    QPointer<MemberEntryScreen> m_screen;
    qint64 m_adultsClass = 0;
    qint64 m_careGroup = 0;
    qint64 m_deacon = 0;
};
