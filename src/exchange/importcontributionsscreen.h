#pragma once

#include "csv/csvfile.h"
#include "csv/jobprogress.h"
#include "exchange/giftimport.h"

#include <QWidget>

#include <functional>
#include <memory>

class AppContext;
class GiftRowsModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTableWidget;
class QThread;
class QTimer;

// "Import Contributions": another program's gifts read from a CSV file, the columns matched to the gift's
// fields, every gift previewed with its giver, problems and warnings, a count and total per designation to
// reconcile with the old program's report, then imported in one transaction after a backup. The file is read
// and previewed on a worker thread with a progress bar and Cancel; the last import can be undone.
class ImportContributionsScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ImportContributionsScreen)

public:
    // backupFirst makes a backup of the database and returns why it failed (empty when it was made).
    ImportContributionsScreen(AppContext& context, std::function<QString()> backupFirst, QWidget* parent = nullptr);
    ~ImportContributionsScreen() override;

    QSize sizeHint() const override;

    // Reads the file as if chosen with Choose File (in the background).
    void openFile(const QString& path);

private:
    struct Work;
    void buildControls();
    void chooseFile();
    // Reads the file when path is given, then previews its rows with the mapping shown (or guessed).
    void startPreview(const QString& path);
    void workFinished();
    void fillMapping(const QStringList& mapping);
    GiftOptions options() const;
    void showPreview();
    void import();
    void undo();
    void showUndoState();
    void setWorking(bool working);

    AppContext& m_context;
    std::function<QString()> m_backupFirst;
    QString m_path;
    CsvFile::Table m_table;
    GiftPreview m_preview;
    std::unique_ptr<Work> m_work;

    QLineEdit* m_file = nullptr;
    QTableWidget* m_mapping = nullptr;
    QCheckBox* m_addDesignations = nullptr;
    QTableView* m_rowsGrid = nullptr;
    GiftRowsModel* m_rowsModel = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_lastImport = nullptr;
    QPushButton* m_import = nullptr;
    QWidget* m_body = nullptr;
    QWidget* m_working = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_stage = nullptr;
    QTimer* m_progressTimer = nullptr;
};
