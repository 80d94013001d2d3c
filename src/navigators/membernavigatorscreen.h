#pragma once

#include "navigators/membersearch.h"
#include "navigators/searchscreen.h"

class QCheckBox;
class QComboBox;
class DateBox;
class QLineEdit;

// "Member Navigator": finds people by any combination of seventeen criteria, lists them in a grid sorted by
// name, opens one on the member entry screen by double-click and hands the listed people to the reports.
class MemberNavigatorScreen final : public SearchScreen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberNavigatorScreen)

public:
    explicit MemberNavigatorScreen(AppContext& context, QWidget* parent = nullptr);
    ~MemberNavigatorScreen() override;

    // Refills every criterion list (all selections lost), empties the grid and sets both dates to today.
    // Runs on opening.
    void loadSearchValues();
    // The criteria as the controls show them.
    MemberSearchCriteria criteria() const;
    // Lists these people, with every criterion emptied, under the caption and their count.
    void showPeople(const QString& caption, const QList<qint64>& memberIds);

protected:
    bool findPeople() override;
    void refillLists(bool keepChoices) override;
    void clearCriteria() override;
    QString countCaption(int count) const override;

private:
    void buildControls();
    void setDatesToToday();

    QLineEdit* m_name = nullptr;
    QLineEdit* m_search = nullptr;
    QLineEdit* m_mapSection = nullptr;
    QComboBox* m_status = nullptr;
    QComboBox* m_churchStatus = nullptr;
    QComboBox* m_prospectStatus = nullptr;
    QComboBox* m_dobAnniv = nullptr;
    QComboBox* m_ssClass = nullptr;
    QComboBox* m_careGroup = nullptr;
    QComboBox* m_discClass = nullptr;
    QComboBox* m_wedClass = nullptr;
    QComboBox* m_deacon = nullptr;
    QComboBox* m_responsibility = nullptr;
    QComboBox* m_receiveNL = nullptr;
    QComboBox* m_hoh = nullptr;
    QComboBox* m_organization = nullptr;
    QCheckBox* m_memberSince = nullptr;
    DateBox* m_startDate = nullptr;
    DateBox* m_endDate = nullptr;
};
