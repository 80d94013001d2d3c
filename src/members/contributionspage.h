#pragma once

#include "members/memberstore.h"

class AppContext;
class ChartPanel;
class ContributionGridModel;
#include <QWidget>

class DateBox;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

// Page "Contributions": the person's envelope number, contribution-list flag and how his giving statement is made
// (individually or with his household; saved with him), and
// his gifts in a period (optionally of one designation) with their total. Refresh reads them again with
// the filter shown; a gift saved or deleted on the entry screen reads them again too; a double-click
// opens the gift on the entry screen. A chart beside them has a bar per month of the period.
class ContributionsPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContributionsPage)

public:
    explicit ContributionsPage(AppContext& context, QWidget* parent = nullptr);

    void setLists(const MemberLookupLists& lists);
    void clear();
    void show(const MemberRecord& record);
    void readInto(MemberRecord& record) const;
    // The filter shown with every person: 1 January of this year to today, every designation; then the
    // shown person's gifts are read.
    void resetFilter(const QDate& today);
    // Reads the shown person's gifts with the filter as it is; an empty screen shows none and no total.
    void loadContributions();

    QLineEdit* envelope() const { return m_envelope; }
    // A bar per month of the period shown.
    ChartPanel* monthChart() const { return m_chart; }

signals:
    // The user left the envelope box.
    void envelopeLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openGift(const QModelIndex& index);

    AppContext& m_context;
    qint64 m_memberId = 0;
    ContributionGridModel* m_model;
    QTableView* m_grid;
    QLineEdit* m_envelope;
    QCheckBox* m_showInList;
    QComboBox* m_statement;
    DateBox* m_start;
    DateBox* m_end;
    QComboBox* m_designation;
    QLineEdit* m_total;
    ChartPanel* m_chart;
};
