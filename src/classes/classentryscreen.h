#pragma once

#include "classes/classstore.h"
#include "widgets/unsavedchanges.h"

#include <QWidget>

#include <optional>

class AppContext;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Sunday School Class Entry/Edit" and its two siblings: one screen over the three kinds of class. Choose a
// class in "Select" to edit it, or leave Select empty to add one; Save And Close writes and closes. Delete
// leaves the class's people (and, for Sunday School, its care groups) without one.
class ClassEntryScreen final
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClassEntryScreen)

public:
    ClassEntryScreen(AppContext& context, ClassKind kind, QWidget* parent = nullptr);
    ~ClassEntryScreen() override;

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    bool saveRecord() override;

private:
    void buildControls();
    void fillClassList();
    void classChosen();
    void showClass(const std::optional<qint64>& id, const ClassRecord& record);
    ClassRecord typed() const;
    void saveAndClose();
    void deleteClass();

    AppContext& m_context;
    ClassKind m_kind;
    ClassStore m_store;
    std::optional<qint64> m_classId;
    ClassRecord m_shown;

    QComboBox* m_select = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_description = nullptr;
    QComboBox* m_teacher = nullptr;
    QComboBox* m_assistant = nullptr;
    QLineEdit* m_location = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_delete = nullptr;
};
