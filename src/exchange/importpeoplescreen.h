#pragma once

#include "exchange/personimport.h"

#include <QWidget>

#include <functional>

class AppContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// "Import People": a CSV file's columns matched to the person's fields, every row previewed as it would
// be stored with its problems and possible duplicates, values missing from their lists added or mapped,
// then imported in one transaction after a backup; the last import can be undone.
class ImportPeopleScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ImportPeopleScreen)

public:
    // backupFirst makes a backup of the database and returns why it failed (empty when it was made).
    ImportPeopleScreen(AppContext& context, std::function<QString()> backupFirst, QWidget* parent = nullptr);
    ~ImportPeopleScreen() override;

    // Reads the file as if chosen with Choose File.
    void openFile(const QString& path);

private:
    void buildControls();
    void chooseFile();
    void readFile();
    void showMapping();
    void refreshPreview();
    void showPreview();
    ImportOptions options() const;
    void saveMapping();
    void loadMapping();
    void import();
    void undo();
    void showUndoState();

    AppContext& m_context;
    std::function<QString()> m_backupFirst;
    QString m_path;
    QList<QStringList> m_rows;
    ImportPreview m_preview;
    QMap<std::pair<int, QString>, LookupDecision> m_decisions;
    // The values decided on, as the file spells them, so that they stay listed with their decision.
    QMap<std::pair<int, QString>, UnknownValue> m_decided;

    QLineEdit* m_file = nullptr;
    QCheckBox* m_headings = nullptr;
    QComboBox* m_delimiter = nullptr;
    QCheckBox* m_byAddress = nullptr;
    QTableWidget* m_mapping = nullptr;
    QTableWidget* m_unknown = nullptr;
    QTableWidget* m_rowsGrid = nullptr;
    QLabel* m_counts = nullptr;
    QLabel* m_lastImport = nullptr;
};
