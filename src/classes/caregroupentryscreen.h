#pragma once

#include "classes/caregroupstore.h"
#include "widgets/unsavedchanges.h"

#include <QWidget>

#include <optional>

class AppContext;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

// "Care Group Entry/Edit": choose a group (shown by its leader) to edit it, or leave Select empty to add one;
// Save And Close writes and closes; Delete leaves the group's people without one.
class CareGroupEntryScreen final
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CareGroupEntryScreen)

public:
    explicit CareGroupEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~CareGroupEntryScreen() override;

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    bool saveRecord() override;

private:
    void buildControls();
    void fillLists();
    void groupChosen();
    void showGroup(const std::optional<qint64>& id, const CareGroupRecord& record);
    CareGroupRecord typed() const;
    void saveAndClose();
    void deleteGroup();

    AppContext& m_context;
    CareGroupStore m_store;
    std::optional<qint64> m_groupId;
    CareGroupRecord m_shown;

    QComboBox* m_select = nullptr;
    QComboBox* m_leader = nullptr;
    QComboBox* m_assistant = nullptr;
    QComboBox* m_class = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_delete = nullptr;
};
