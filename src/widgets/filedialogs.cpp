#include "widgets/filedialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace {

struct Answers
{
    QStringList next;
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
        return answers().next.takeFirst();
    }
    QString chosenFilter = selectedFilter;
    return QFileDialog::getOpenFileName(parent, caption, folder, filter,
                                        chosenFilter.isEmpty() ? nullptr : &chosenFilter);
}

QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& folder)
{
    if (!answers().next.isEmpty()) {
        answers().asked << caption;
        return answers().next.takeFirst();
    }
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& folder)
{
    if (!answers().next.isEmpty()) {
        answers().asked << caption;
        return answers().next.takeFirst();
    }
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

void setNextFileName(const QString& fileName)
{
    answers().next << fileName;
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
