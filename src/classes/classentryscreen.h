#pragma once

#include "classes/chooseandeditscreen.h"
#include "classes/classstore.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Sunday School Class Entry/Edit" and its two siblings: one screen over the three kinds of class. Choose a
// class in "Select" to edit it, or leave Select empty to add one; Save And Close writes and closes. Delete
// leaves the class's people (and, for Sunday School, its care groups) without one.
class ClassEntryScreen final : public ChooseAndEditScreen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClassEntryScreen)

public:
    ClassEntryScreen(AppContext& context, ClassKind kind, QWidget* parent = nullptr);
    ~ClassEntryScreen() override;

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
    void showClass(const ClassRecord& record);
    ClassRecord typed() const;

    ClassStore m_store;
    ClassRecord m_shown;

    QLineEdit* m_name = nullptr;
    QLineEdit* m_description = nullptr;
    QComboBox* m_teacher = nullptr;
    QComboBox* m_assistant = nullptr;
    QLineEdit* m_location = nullptr;
    QPlainTextEdit* m_notes = nullptr;
};
