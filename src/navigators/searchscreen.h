#pragma once

#include "core/peoplereport.h"
#include "data/permission.h"
#include "navigators/membergridmodel.h"

#include <QWidget>

#include <initializer_list>

class AppContext;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QTableView;

// The shape of every search screen: a "Search Criteria" frame holding the screen's own criteria with Find,
// Clear, Exit and its print buttons under them, and the people found in a grid below (double-click opens one
// on the member screen). The result stays current while people are saved or deleted elsewhere, and the
// search lists are refilled after a lookup list changed. A print button asks its permission, then hands the
// listed people to the reports.
class SearchScreen : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchScreen)

public:
    ~SearchScreen() override;

    MemberGridModel* model() const { return m_model; }
    // Runs the search the criteria describe and shows its result with the count. False when the criteria
    // were refused (the screen has said why) and nothing was searched.
    bool updateGrids();

    QSize sizeHint() const override;

protected:
    // A print button under the criteria: object name, caption with its access key, the report it asks for
    // and the permission it needs. The first one also answers Ctrl+P; the mailing labels' button gets the
    // choice of one label per household beside it.
    struct PrintButton
    {
        QString name;
        QString caption;
        PeopleReport report;
        Permission permission;
    };

    SearchScreen(AppContext& context, MemberGridModel::Layout layout, QWidget* parent);

    AppContext& context() const { return m_context; }
    QGroupBox* criteriaFrame() const { return m_criteriaFrame; }
    // The criteria's grid of labels and fields; the subclass fills its rows.
    QGridLayout* criteriaLayout() const { return m_criteriaLayout; }
    QTableView* resultGrid() const { return m_grid; }

    // Puts the button row under the criteria at the row given, spanning the columns, then the result frame
    // ("Frame2", titled resultTitle until a count is shown) with its grid below the criteria.
    void finishControls(int buttonsRow, int columns, const QString& resultTitle, const QList<PrintButton>& prints);
    // Enter in these boxes runs Find.
    void findOnEnter(std::initializer_list<QLineEdit*> boxes);
    // Shows the count of the people found in the result frame's title.
    void showCount();
    // Shows what the model now holds (read by other means than the criteria) under a caption of its own.
    void showResult(const QString& caption);
    // A print button: its permission, then the checks of the screen, then the request for the listed people.
    void print(PeopleReport report, Permission permission);

    // Reads the people the criteria describe into the model. False when the criteria were refused.
    virtual bool findPeople() = 0;
    // Refills the criterion lists; with keepChoices what is chosen stays chosen where it is still offered.
    virtual void refillLists(bool keepChoices) = 0;
    // Empties every criterion and the result (the count in the title stays).
    virtual void clearCriteria() = 0;
    // The result frame's title with the count of people found.
    virtual QString countCaption(int count) const = 0;
    // Whether the report may be asked for as the criteria stand; a refusal is shown by the screen.
    virtual bool readyToPrint(PeopleReport report);
    // What a print button asks of the reports: by default the report and the people in grid order.
    virtual PeopleReportRequest printRequest(PeopleReport report) const;

private:
    void followRollChanges();

    AppContext& m_context;
    MemberGridModel* m_model;
    QGroupBox* m_criteriaFrame;
    QGridLayout* m_criteriaLayout;
    QGroupBox* m_resultFrame = nullptr;
    QTableView* m_grid = nullptr;
    QCheckBox* m_labelPerHousehold = nullptr;
};
