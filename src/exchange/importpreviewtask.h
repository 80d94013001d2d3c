#pragma once

#include "csv/csvfile.h"
#include "csv/jobprogress.h"
#include "exchange/personimport.h"

#include <QObject>

#include <functional>
#include <memory>

class QThread;

// The reading of an import file and the preview of its rows, on a worker thread: the screen stays
// responsive, shows the progress and can stop the work. The worker touches no database and no widget; it
// gets the rows (or the file's path) and what the roll holds as plain data.
class ImportPreviewTask final
{
    Q_DISABLE_COPY_MOVE(ImportPreviewTask)

public:
    struct Request
    {
        // The file to read first; empty previews the rows given.
        QString path;
        // The file's delimiter; a null character finds it.
        QChar delimiter;
        QList<QStringList> rows;
        ImportOptions options;
        // Maps the columns from the file's headings (a file just read) instead of options.mapping.
        bool guessMapping = false;
        ImportReference reference;
    };

    struct Outcome
    {
        bool cancelled = false;
        // Why the file cannot be read, with its row (0 = the file as a whole); empty when it was read.
        QString problem;
        int problemRow = 0;
        // The file as read, when a path was given.
        CsvFile::Table table;
        // The mapping the preview used.
        QStringList mapping;
        ImportPreview preview;
    };

    explicit ImportPreviewTask(Request request);
    // Asks the work to stop and waits for the thread: nothing outlives the task.
    ~ImportPreviewTask();

    // Starts the work; finished runs on receiver's thread once it is done (not when the task is destroyed
    // first).
    void start(QObject* receiver, std::function<void()> finished);
    void cancel() { m_progress.cancel(); }
    JobProgress::Snapshot progress() const { return m_progress.snapshot(); }
    // What the work came to; only once finished has run.
    Outcome takeOutcome() { return std::move(m_outcome); }

private:
    void run();

    Request m_request;
    Outcome m_outcome;
    JobProgress m_progress;
    std::unique_ptr<QThread> m_thread;
};
