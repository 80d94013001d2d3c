#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The layers of the program, checked rather than promised: every #include of src/ that crosses from one
// library to another must be allowed by the layer table of docs/ARCHITECTURE.md. Which library a file
// belongs to is read from the source lists of the CMakeLists.txt files.
class TestLayers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyLibraryIsInTheTable();
    void everyIncludeCrossesOnlyAllowedLayers();
    void theCheckCatchesAStoreIncludingAWidget();

private:
    struct Crossing
    {
        QString file;
        QString included;
    };
    // What breaks the table: "file includes header (library may not include library)".
    QStringList violations(const QList<Crossing>& crossings) const;

    QHash<QString, QSet<QString>> m_allowed; // library -> libraries it may include
    QHash<QString, QString> m_libraryOf;     // "folder/file" -> library
    QList<Crossing> m_crossings;
};

namespace {

const QString kSource = QStringLiteral(KELVANE_SOURCE_DIR);

QString readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QStringList backquoted(const QString& cell)
{
    QStringList names;
    static const QRegularExpression name(QStringLiteral("`([^`]+)`"));
    for (auto match = name.globalMatch(cell); match.hasNext();) {
        names << match.next().captured(1);
    }
    return names;
}

} // namespace

void TestLayers::initTestCase()
{
    // The table: rows "| `library` | `folder/` | `may`, `include` | what it holds |" after the layers marker.
    const QString architecture = readAll(kSource + QStringLiteral("/docs/ARCHITECTURE.md"));
    const qsizetype start = architecture.indexOf(QStringLiteral("<!-- layer table -->"));
    QVERIFY2(start >= 0, "docs/ARCHITECTURE.md has no layer table marker");
    for (const QString& line : architecture.mid(start).split(u'\n').mid(1)) {
        if (!line.startsWith(u'|')) {
            if (!m_allowed.isEmpty()) {
                break;
            }
            continue;
        }
        const QStringList cells = line.split(u'|');
        if (cells.size() < 4) {
            continue;
        }
        const QStringList library = backquoted(cells.at(1));
        if (library.size() != 1) {
            continue; // the heading and its rule
        }
        QStringList may = backquoted(cells.at(3));
        if (cells.at(3).contains(QStringLiteral("every library"))) {
            may << QStringLiteral("*");
        }
        m_allowed.insert(library.first(), QSet<QString>(may.begin(), may.end()));
    }
    QVERIFY2(!m_allowed.isEmpty(), "the layer table is empty");

    static const QRegularExpression library(QStringLiteral(R"(add_library\((\w+)\s+STATIC([^)]*)\))"));
    for (const QString& folder : QDir(kSource + QStringLiteral("/src")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString lists = readAll(kSource + QStringLiteral("/src/") + folder + QStringLiteral("/CMakeLists.txt"));
        for (auto match = library.globalMatch(lists); match.hasNext();) {
            const QRegularExpressionMatch m = match.next();
            for (const QString& file :
                 m.captured(2).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
                m_libraryOf.insert(folder + u'/' + file, m.captured(1));
            }
        }
    }

    static const QRegularExpression include(QStringLiteral(R"re(^#include "([a-z0-9_]+/[a-z0-9_]+\.h)")re"),
                                            QRegularExpression::MultilineOption);
    QDirIterator files(kSource + QStringLiteral("/src"), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString file = QDir(kSource + QStringLiteral("/src")).relativeFilePath(path);
        for (auto match = include.globalMatch(readAll(path)); match.hasNext();) {
            m_crossings.append({file, match.next().captured(1)});
        }
    }
}

QStringList TestLayers::violations(const QList<Crossing>& crossings) const
{
    QStringList found;
    for (const Crossing& crossing : crossings) {
        // The program's main() is not in a library; it may reach the application's start-up only.
        const QString from = m_libraryOf.value(
            crossing.file, crossing.file == QStringLiteral("app/main.cpp") ? QStringLiteral("kelvane") : QString());
        const QString to = m_libraryOf.value(crossing.included);
        if (from.isEmpty() || to.isEmpty()) {
            found << QStringLiteral("%1 includes %2, but one of them is in no library")
                         .arg(crossing.file, crossing.included);
            continue;
        }
        const QSet<QString> allowed = m_allowed.value(from);
        if (from != to && !allowed.contains(to) && !allowed.contains(QStringLiteral("*"))) {
            found << QStringLiteral("%1 includes %2 (%3 may not include %4)")
                         .arg(crossing.file, crossing.included, from, to);
        }
    }
    return found;
}

void TestLayers::everyLibraryIsInTheTable()
{
    QStringList missing;
    for (const QString& library : QSet<QString>(m_libraryOf.cbegin(), m_libraryOf.cend())) {
        if (!m_allowed.contains(library)) {
            missing << library;
        }
    }
    missing.sort();
    QCOMPARE(missing, QStringList());
}

void TestLayers::everyIncludeCrossesOnlyAllowedLayers()
{
    QVERIFY(m_crossings.size() > 100);
    const QStringList found = violations(m_crossings);
    if (!found.isEmpty()) {
        qWarning().noquote() << found.join(u'\n');
    }
    QCOMPARE(found.size(), 0);
}

void TestLayers::theCheckCatchesAStoreIncludingAWidget()
{
    // A store that reached for a screen toolkit header would be reported.
    const QString store = m_libraryOf.key(QStringLiteral("kelvane_members_store"));
    QVERIFY(!store.isEmpty());
    const QStringList found = violations({{store, QStringLiteral("widgets/messages.h")}});
    QCOMPARE(found.size(), 1);
    QVERIFY(found.first().contains(QStringLiteral("kelvane_members_store may not include kelvane_widgets")));
}

QTEST_GUILESS_MAIN(TestLayers)

#include "tst_layers.moc"
