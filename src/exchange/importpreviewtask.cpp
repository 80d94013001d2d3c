#include "exchange/importpreviewtask.h"

#include "exchange/importfields.h"

#include <QCoreApplication>
#include <QThread>

#include <new>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(ImportPreviewTask)
};

// A file of people has a few dozen columns; one with thousands is no such file (and each column becomes a
// row of the mapping table).
constexpr qsizetype kMostColumns = 1000;
// The most rows read: ten times a large roll. The rows and their preview take about 3 KB each in memory, so
// this bounds a file of short rows at under 1 GB.
constexpr qsizetype kMostRows = 250000;

} // namespace

ImportPreviewTask::ImportPreviewTask(Request request)
    : m_request(std::move(request))
{}

ImportPreviewTask::~ImportPreviewTask()
{
    if (m_thread) {
        m_progress.cancel();
        m_thread->wait();
    }
}

void ImportPreviewTask::start(QObject* receiver, std::function<void()> finished)
{
    m_thread.reset(QThread::create([this] { run(); }));
    // Queued to the receiver's thread; a receiver destroyed first never hears of it.
    QObject::connect(m_thread.get(), &QThread::finished, receiver, std::move(finished), Qt::QueuedConnection);
    m_thread->start();
}

void ImportPreviewTask::run()
{
    try {
        QList<QStringList> rows = m_request.rows;
        if (!m_request.path.isEmpty()) {
            m_outcome.table = CsvFile::read(m_request.path, m_request.delimiter, &m_progress, kMostRows);
            rows = m_outcome.table.rows;
            if (rows.value(0).size() > kMostColumns) {
                throw CsvFile::CsvError(1, Text::tr("The row has %1 cells; a file of people has at most %2 columns.")
                                               .arg(rows.value(0).size())
                                               .arg(kMostColumns));
            }
        }
        ImportOptions options = m_request.options;
        if (m_request.guessMapping) {
            const QStringList first = rows.value(0);
            options.mapping =
                options.hasHeadings ? ImportFields::guessMapping(first) : QStringList(first.size(), QString());
            // The grouping that overrides a household column is offered only while there is one.
            options.householdsByNameAndAddressOnly =
                options.householdsByNameAndAddressOnly && options.mapping.contains(ImportFields::kHousehold);
        }
        m_outcome.mapping = options.mapping;
        m_outcome.preview = PersonImport::preview(m_request.reference, rows, options, &m_progress);
    } catch (const JobProgress::Cancelled&) {
        m_outcome = Outcome{};
        m_outcome.cancelled = true;
    } catch (const CsvFile::CsvError& error) {
        m_outcome = Outcome{};
        m_outcome.problem = error.problem();
        m_outcome.problemRow = error.row();
    } catch (const std::bad_alloc&) {
        m_outcome = Outcome{};
        m_outcome.problem = Text::tr("The file is too large to be read in the memory this computer has free.");
    } catch (const std::exception& error) {
        m_outcome = Outcome{};
        m_outcome.problem = QString::fromLocal8Bit(error.what());
    }
}
