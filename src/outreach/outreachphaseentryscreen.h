#pragma once

#include "outreach/outreachplanstore.h"
#include "widgets/unsavedchanges.h"

#include <QWidget>

class AppContext;
class OutreachPlanModel;
class QTableView;

// "Outreach Phase Entry": the whole outreach plan in one grid, edited in place (name, action from the
// prospect actions, weeks), reordered with the move buttons, grown and shrunk; nothing is written before
// Save And Close, which saves the plan and carries the prospects along by position.
class OutreachPhaseEntryScreen final
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OutreachPhaseEntryScreen)

public:
    explicit OutreachPhaseEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~OutreachPhaseEntryScreen() override;

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    bool saveRecord() override;

private:
    void buildControls();
    void loadPlan();
    void fillActions();
    void followRename(const QString& from, const QString& to);
    // The data row the user is on, or -1.
    int currentRow() const;
    void selectPhase(int row, int column);
    void addPhase();
    void deletePhase();
    void move(int step);
    void saveAndClose();

    AppContext& m_context;
    OutreachPlanStore m_store;
    // The plan as it was loaded: saving maps the prospects from its positions to the edited plan's.
    OutreachPlan m_loaded;
    QList<TypedPhase> m_shown;
    QStringList m_actions;

    OutreachPlanModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
};
