#pragma once

#include "classes/caregroupstore.h"
#include "classes/chooseandeditscreen.h"

class QComboBox;
class QPlainTextEdit;

// "Care Group Entry/Edit": choose a group (shown by its leader) to edit it, or leave Select empty to add one;
// Save And Close writes and closes; Delete leaves the group's people without one.
class CareGroupEntryScreen final : public ChooseAndEditScreen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CareGroupEntryScreen)

public:
    explicit CareGroupEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~CareGroupEntryScreen() override;

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    bool saveRecord() override;

protected:
    void fillLists() override;
    bool showStored(qint64 id) override;
    void showNew() override;
    QString deleteQuestion(qint64 id) override;
    void removeStored(qint64 id) override;

private:
    void buildControls();
    void showGroup(const CareGroupRecord& record);
    CareGroupRecord typed() const;

    CareGroupStore m_store;
    CareGroupRecord m_shown;

    QComboBox* m_leader = nullptr;
    QComboBox* m_assistant = nullptr;
    QComboBox* m_class = nullptr;
    QPlainTextEdit* m_notes = nullptr;
};
