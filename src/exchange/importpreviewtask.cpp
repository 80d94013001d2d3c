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
            m_outcome.table = PersonImport::readFile(m_request.path, m_request.delimiter, &m_progress);
            rows = m_outcome.table.rows;
        }
        ImportOptions options = m_request.options;
        if (!m_request.path.isEmpty()) {
            options.repairs = m_outcome.table.repairs;
        }
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
