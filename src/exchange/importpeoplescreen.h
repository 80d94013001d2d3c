#pragma once

#include "exchange/importpreviewtask.h"
#include "exchange/personimport.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class AppContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTableWidget;
class ImportRowsModel;
class QTimer;

// "Import People": a CSV file's columns matched to the person's fields, every row previewed as it would
// be stored with its problems and possible duplicates, values missing from their lists added or mapped,
// then imported in one transaction after a backup; the last import can be undone. The file is read and its
// rows previewed on a worker thread, with a progress bar and a Cancel button, the rest of the screen
// disabled meanwhile.
class ImportPeopleScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ImportPeopleScreen)

public:
    // backupFirst makes a backup of the database and returns why it failed (empty when it was made).
    ImportPeopleScreen(AppContext& context, std::function<QString()> backupFirst, QWidget* parent = nullptr);
    ~ImportPeopleScreen() override;

    // As tall as a search screen and wide enough for the three tables side by side.
    QSize sizeHint() const override;

    // Reads the file as if chosen with Choose File (in the background: the screen shows the rows once read).
    void openFile(const QString& path);

private:
    void buildControls();
    void chooseFile();
    // Reads the file again (or anew, when newFile) with the delimiter chosen, then previews it.
    void readFile(const QString& path, bool newFile);
    void showFileRead(const QString& path, bool newFile, ImportPreviewTask::Outcome& outcome);
    void showMapping();
    void fillMapping(const QStringList& mapping);
    // Previews the rows in the background, then runs then (if any) unless the preview was cancelled.
    void refreshPreview(std::function<void()> then = {});
    void showPreview();
    void showCounts();
    // Offers grouping every row by last name and address only while a column gives the household.
    void showHouseholdChoice();
    // Runs the request on a worker thread, the progress shown and the rest of the screen disabled; done
    // gets what it came to (also when cancelled).
    void startWork(ImportPreviewTask::Request request, std::function<void(ImportPreviewTask::Outcome&)> done);
    void workFinished();
    void finishWork(ImportPreviewTask::Outcome& outcome);
    // Asks the running work to stop and keeps it until its thread ends.
    void retireTask();
    void showProgress();
    void cancelWork();
    void setWorking(bool working);
    ImportOptions options() const;
    void saveMapping();
    void loadMapping();
    void import();
    void importPreviewed();
    // After an import: the rows are gone from the screen and Import waits for a file read again, so that the
    // same rows are never imported twice.
    void showImported();
    void undo();
    void showUndoState();

    AppContext& m_context;
    std::function<QString()> m_backupFirst;
    QString m_path;
    QList<QStringList> m_rows;
    // The rows the file's lenient reading repaired.
    QList<CsvFile::Repair> m_repairs;
    ImportPreview m_preview;
    QMap<std::pair<int, QString>, LookupDecision> m_decisions;
    // The values decided on, as the file spells them, so that they stay listed with their decision.
    QMap<std::pair<int, QString>, UnknownValue> m_decided;

    QLineEdit* m_file = nullptr;
    QCheckBox* m_headings = nullptr;
    QComboBox* m_delimiter = nullptr;
    QCheckBox* m_byAddress = nullptr;
    QCheckBox* m_byAddressOnly = nullptr;
    QLineEdit* m_areaCode = nullptr;
    QTableWidget* m_mapping = nullptr;
    QTableWidget* m_unknown = nullptr;
    QTableView* m_rowsGrid = nullptr;
    ImportRowsModel* m_rowsModel = nullptr;
    QLabel* m_counts = nullptr;
    QLabel* m_lastImport = nullptr;
    QPushButton* m_import = nullptr;

    QWidget* m_body = nullptr;
    QWidget* m_working = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_stage = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_progressTimer = nullptr;
    std::unique_ptr<ImportPreviewTask> m_task;
    std::function<void(ImportPreviewTask::Outcome&)> m_taskDone;
    int m_generation = 0;
    // Work cancelled or dropped whose thread has not ended yet, by generation.
    std::map<int, std::unique_ptr<ImportPreviewTask>> m_stopping;
    QPointer<QWidget> m_focusBefore;
};
