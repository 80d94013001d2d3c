#pragma once

#include "classes/responsibilitycatalog.h"
#include "widgets/unsavedchanges.h"

#include <QWidget>

class AppContext;
class QComboBox;
class QLineEdit;

// "Church Responsibility Entry/Edit": a name chosen or typed shows its description as soon as it matches an
// entry; Save And Close adds the name or updates the entry's description; Delete takes the responsibility
// from everyone who holds it and from the catalogue, and the screen stays open.
class ResponsibilityEntryScreen final
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResponsibilityEntryScreen)

public:
    explicit ResponsibilityEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~ResponsibilityEntryScreen() override;

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    bool saveRecord() override;

private:
    void buildControls();
    void loadNames();
    void showDescription();
    void saveAndClose();
    void deleteResponsibility();

    AppContext& m_context;
    ResponsibilityCatalog m_catalog;
    // The description as stored for the name in the box (empty when the name is no entry).
    QString m_storedDescription;

    QComboBox* m_name = nullptr;
    QLineEdit* m_description = nullptr;
};
