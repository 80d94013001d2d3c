#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QString>

#include <vector>

class Database;

// Every person of the roll in name order, read once and shared by every list that offers "every person"
// (the member chooser, the relative list, teachers, leaders, visitors, …). Each list shows it through its
// own view or proxy. The display text is "Last, First Middle Title".
class PeopleModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PeopleModel)

public:
    enum Role {
        IdRole = Qt::UserRole,
        // "Last, First Middle": the lists that show no title.
        NameWithoutTitleRole,
        HeadOfHouseholdRole,
    };

    explicit PeopleModel(Database& db, QObject* parent = nullptr);
    ~PeopleModel() override;

    // Reads every person again (a model reset). Throws DatabaseError.
    void reload();
    // Reads the people the first time they are needed.
    void ensureLoaded();
    bool isLoaded() const { return m_loaded; }
    // Reads from another connection from now on (the database file was replaced); the list empties and is
    // read again when next needed.
    void useDatabase(Database& db);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The row of the person, or -1 when he is not listed.
    int rowOf(qint64 id) const;
    qint64 idAt(int row) const;

private:
    struct Person
    {
        qint64 id = 0;
        QString name;
        QString nameWithoutTitle;
        bool headOfHousehold = false;
    };

    Database* m_db;
    std::vector<Person> m_people;
    QHash<qint64, int> m_rows;
    bool m_loaded = false;
};
