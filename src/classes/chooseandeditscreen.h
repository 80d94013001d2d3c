#pragma once

#include "data/permission.h"
#include "widgets/unsavedchanges.h"

#include <QWidget>

#include <optional>

class AppContext;
class QComboBox;
class QFormLayout;
class QPushButton;

// The shape of the screens that keep one list of records (classes, care groups): choose a record in
// "Select" to edit it, or leave Select empty to add one; Save And Close writes and closes; Delete asks, then
// removes the shown record. Leaving a record with unsaved changes asks first, whichever way it is left.
class ChooseAndEditScreen
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChooseAndEditScreen)

public:
    ~ChooseAndEditScreen() override;

protected:
    // deletePermission: what Delete asks of the login.
    ChooseAndEditScreen(AppContext& context, Permission deletePermission, QWidget* parent);

    AppContext& context() const { return m_context; }
    // "Select" (cmbName), the form's first row.
    QComboBox* selectList() const { return m_select; }
    // The form the subclass adds its fields to, below Select.
    QFormLayout* form() const { return m_form; }
    // Puts Save And Close, Delete and Exit under the form and connects them; the texts name the actions in
    // error messages. Then fills the lists and shows an empty record.
    void finishControls(const QString& showAction, const QString& saveAction, const QString& deleteAction);

    const std::optional<qint64>& shownId() const { return m_shownId; }
    // The record now shown: its ID, or none for a new one (Delete is then disabled).
    void setShownId(const std::optional<qint64>& id);
    // After a save: the ID is the shown one, other screens refill their lists, the status bar names it.
    void announceSaved(qint64 id, const QString& name);

    // "Delete Choir? 3 people and 1 care group are assigned to it and will be left without one."
    QString assignedQuestion(int people, int careGroups) const;

    virtual void fillLists() = 0;
    // Shows the stored record; false when it is gone (deleted meanwhile).
    virtual bool showStored(qint64 id) = 0;
    virtual void showNew() = 0;
    // The question asked before the shown record is deleted.
    virtual QString deleteQuestion(qint64 id) = 0;
    virtual void removeStored(qint64 id) = 0;

private:
    void chosen();
    void saveAndClose();
    void deleteShown();

    AppContext& m_context;
    Permission m_deletePermission;
    std::optional<qint64> m_shownId;
    QComboBox* m_select;
    QFormLayout* m_form;
    QPushButton* m_delete = nullptr;
};
