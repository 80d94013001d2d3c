#include "widgets/filedialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace {

struct Answer
{
    QString fileName;
    QString filter;
};

struct Answers
{
    QList<Answer> next;
    QStringList asked;
};

Answers& answers()
{
    static Answers a;
    return a;
}

} // namespace

namespace FileDialogs {

QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& folder,
                        const QString& selectedFilter)
{
    if (!answers().next.isEmpty()) {
        answers().asked << caption;
        return answers().next.takeFirst().fileName;
    }
    QString chosenFilter = selectedFilter;
    return QFileDialog::getOpenFileName(parent, caption, folder, filter,
                                        chosenFilter.isEmpty() ? nullptr : &chosenFilter);
}

QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& folder,
                        QString* selectedFilter)
{
    if (!answers().next.isEmpty()) {
        answers().asked << caption;
        const Answer answer = answers().next.takeFirst();
        if (selectedFilter != nullptr) {
            *selectedFilter = answer.filter.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : answer.filter;
        }
        return answer.fileName;
    }
    return QFileDialog::getSaveFileName(parent, caption, folder, filter, selectedFilter);
}

QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& folder)
{
    if (!answers().next.isEmpty()) {
        answers().asked << caption;
        return answers().next.takeFirst().fileName;
    }
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

void setNextFileName(const QString& fileName, const QString& selectedFilter)
{
    answers().next << Answer{fileName, selectedFilter};
}

void clearNextFileNames()
{
    answers().next.clear();
}

QStringList takeAsked()
{
    return std::exchange(answers().asked, {});
}

} // namespace FileDialogs
