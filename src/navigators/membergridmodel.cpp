#include "navigators/membergridmodel.h"

#include "core/textformat.h"
#include "data/databaseerror.h"

#include <QSet>
#include <QStringList>

namespace {

using Kind = MemberGridModel::Prospect;

// The member navigator's columns as kinds of cell.
constexpr std::array<int, MemberGridModel::ColumnCount> kMemberKinds = {
    Kind::Id,    Kind::Name,    Kind::Status, Kind::Phone, Kind::Cell,         Kind::Work,
    Kind::Email, Kind::Address, Kind::Dob,    Kind::Anniv, Kind::MemberStatus, Kind::ProspectStatus,
};

// The length of a cell's text without composing it; used only to pick the widest candidate.
qsizetype cellLength(const MemberListRow& r, int kind)
{
    using F = MemberListRow;
    switch (kind) {
        case Kind::Id:
            return QString::number(r.id()).size();
        case Kind::Name:
            return r.length(F::LastName) + r.length(F::FirstName) + r.length(F::MiddleName) + r.length(F::Title) + 4;
        case Kind::Status:
            return r.length(F::Status);
        case Kind::Phase:
            return r.length(F::ProspectPhase);
        case Kind::NextDate:
            return r.length(F::NextContactDate);
        case Kind::NextAction:
            return r.length(F::NextContactAction);
        case Kind::NextType:
            return r.length(F::NextContactType);
        case Kind::Phone:
            return r.length(F::Phone);
        case Kind::Cell:
            return r.length(F::Cell);
        case Kind::Work:
            return r.length(F::WorkPhone);
        case Kind::Email:
            return r.length(F::Email);
        case Kind::Address:
            return r.length(F::Address1) + r.length(F::Address2) + r.length(F::City) + r.length(F::State) +
                   r.length(F::Zip) + 7;
        case Kind::Dob:
            return r.length(F::DateOfBirth);
        case Kind::Anniv:
            return r.length(F::Anniversary);
        case Kind::MemberStatus:
            return r.length(F::MemberActiveStatus);
        case Kind::ProspectStatus:
            return r.length(F::ProspectActiveStatus);
        default:
            return 0;
    }
}

QString kindText(const MemberListRow& r, int kind)
{
    using F = MemberListRow;
    switch (kind) {
        case Kind::Id:
            return QString::number(r.id());
        case Kind::Name:
            return personDisplayName(r.text(F::LastName), r.text(F::FirstName), r.text(F::MiddleName),
                                     r.text(F::Title));
        case Kind::Status:
            return r.text(F::Status);
        case Kind::Phase:
            return r.text(F::ProspectPhase);
        case Kind::NextDate:
            return shortDate(r.field(F::NextContactDate));
        case Kind::NextAction:
            return r.text(F::NextContactAction);
        case Kind::NextType:
            return r.text(F::NextContactType);
        case Kind::Phone:
            return formatPhone(r.text(F::Phone));
        case Kind::Cell:
            return formatPhone(r.text(F::Cell));
        case Kind::Work:
            return formatPhone(r.text(F::WorkPhone));
        case Kind::Email:
            return r.text(F::Email);
        case Kind::Address:
            return MemberGridModel::addressText(r);
        case Kind::Dob:
            return shortDate(r.field(F::DateOfBirth));
        case Kind::Anniv:
            return shortDate(r.field(F::Anniversary));
        case Kind::MemberStatus:
            return r.text(F::MemberActiveStatus);
        case Kind::ProspectStatus:
            return r.text(F::ProspectActiveStatus);
        default:
            return {};
    }
}

const char* kindHeader(int kind)
{
    switch (kind) {
        case Kind::Id:
            return QT_TRANSLATE_NOOP("MemberGridModel", "ID");
        case Kind::Name:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Name");
        case Kind::Status:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Status");
        case Kind::Phase:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Phase");
        case Kind::NextDate:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Next Date");
        case Kind::NextAction:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Next Action");
        case Kind::NextType:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Next Type");
        case Kind::Phone:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Phone");
        case Kind::Cell:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Cell");
        case Kind::Work:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Work");
        case Kind::Email:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Email");
        case Kind::Address:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Address");
        case Kind::Dob:
            return QT_TRANSLATE_NOOP("MemberGridModel", "DOB");
        case Kind::Anniv:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Anniv");
        case Kind::MemberStatus:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Member Status");
        case Kind::ProspectStatus:
            return QT_TRANSLATE_NOOP("MemberGridModel", "Prospect Status");
        default:
            return "";
    }
}

// The rows of the IDs from `from` on, a page of them. A person deleted since the search was run has no row: his ID
// is taken out of the list, and the IDs after it fill the page.
std::vector<MemberListRow> readPage(const MemberGridModel::RowReader& reader, QList<qint64>& ids, qsizetype from)
{
    while (from < ids.size()) {
        const QList<qint64> wanted = ids.mid(from, MemberGridModel::kPageSize);
        std::vector<MemberListRow> page = reader(wanted);
        if (page.size() < size_t(wanted.size())) {
            QSet<qint64> present;
            for (const MemberListRow& row : page) {
                present.insert(row.id());
            }
            qsizetype at = from;
            for (const qint64 id : wanted) {
                if (present.contains(id)) {
                    ++at;
                } else {
                    ids.removeAt(at);
                }
            }
        }
        if (!page.empty()) {
            return page;
        }
    }
    return {};
}

} // namespace

MemberGridModel::MemberGridModel(QObject* parent, Layout layout)
    : QAbstractTableModel(parent)
    , m_layout(layout)
{
    resetLongest();
}

MemberGridModel::~MemberGridModel() = default;

void MemberGridModel::setResult(QList<qint64> ids, RowReader reader)
{
    // Read before the reset, so that a failed read leaves the grid as it was.
    std::vector<MemberListRow> firstPage = readPage(reader, ids, 0);
    beginResetModel();
    m_ids = std::move(ids);
    m_reader = std::move(reader);
    m_rows = std::move(firstPage);
    m_hasHeader = true;
    resetLongest();
    noteLongest(0);
    endResetModel();
}

void MemberGridModel::setRows(std::vector<MemberListRow> rows)
{
    beginResetModel();
    m_ids.clear();
    m_ids.reserve(qsizetype(rows.size()));
    for (const MemberListRow& row : rows) {
        m_ids << row.id();
    }
    m_reader = nullptr;
    m_rows = std::move(rows);
    m_hasHeader = true;
    resetLongest();
    noteLongest(0);
    endResetModel();
}

void MemberGridModel::clear()
{
    beginResetModel();
    m_ids.clear();
    m_reader = nullptr;
    m_rows.clear();
    m_hasHeader = false;
    resetLongest();
    endResetModel();
}

void MemberGridModel::replaceRow(const MemberListRow& row)
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id() == row.id()) {
            m_rows[i] = row;
            resetLongest();
            noteLongest(0);
            emit dataChanged(index(int(i), 0), index(int(i), columnCount() - 1));
            return;
        }
    }
}

void MemberGridModel::followSaved(Database& db, qint64 id)
{
    if (!m_hasHeader) {
        return;
    }
    const std::vector<MemberListRow> rows = MemberNavigatorStore(db).rowsOf({id});
    if (!rows.empty()) {
        replaceRow(rows.front());
    }
}

bool MemberGridModel::removeMember(qint64 id)
{
    const qsizetype at = m_ids.indexOf(id);
    if (at < 0) {
        return false;
    }
    if (at < qsizetype(m_rows.size())) {
        beginRemoveRows({}, int(at), int(at));
        m_ids.removeAt(at);
        m_rows.erase(m_rows.begin() + at);
        resetLongest();
        noteLongest(0);
        endRemoveRows();
    } else {
        m_ids.removeAt(at);
    }
    return true;
}

bool MemberGridModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_reader && qsizetype(m_rows.size()) < m_ids.size();
}

void MemberGridModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent)) {
        return;
    }
    const qsizetype from = qsizetype(m_rows.size());
    std::vector<MemberListRow> page;
    try {
        page = readPage(m_reader, m_ids, from);
    } catch (const DatabaseError& error) {
        // The view asks from its own events, where an exception must not go; the screen shows the message.
        m_reader = nullptr;
        emit fetchFailed(error.message());
        return;
    }
    if (page.empty()) {
        return;
    }
    beginInsertRows({}, int(from), int(from + qsizetype(page.size())) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
    noteLongest(int(from));
    endInsertRows();
}

void MemberGridModel::resetLongest()
{
    m_longest.fill(-1);
    m_longestLength.fill(0);
}

int MemberGridModel::kindOf(int column) const
{
    return m_layout == Layout::Prospects ? column : kMemberKinds[size_t(column)];
}

void MemberGridModel::noteLongest(int from)
{
    const int columns = m_layout == Layout::Prospects ? int(Prospect::ColumnCount) : int(ColumnCount);
    for (int row = from; row < int(m_rows.size()); ++row) {
        for (size_t column = 0; column < size_t(columns); ++column) {
            const qsizetype length = cellLength(m_rows[size_t(row)], kindOf(int(column)));
            if (m_longest[column] < 0 || length > m_longestLength[column]) {
                m_longestLength[column] = length;
                m_longest[column] = row;
            }
        }
    }
}

qint64 MemberGridModel::memberId(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)].id() : 0;
}

int MemberGridModel::longestRow(int column) const
{
    return column >= 0 && column < columnCount() ? m_longest[size_t(column)] : -1;
}

QString MemberGridModel::addressText(const MemberListRow& r)
{
    using F = MemberListRow;
    // Empty parts leave no separator behind: "7671 Union Boulevard, Walnut Hill", never ", , ".
    const auto present = [&r](std::initializer_list<F::Field> fields) {
        QStringList parts;
        for (const F::Field field : fields) {
            if (const QStringView part = r.field(field).trimmed(); !part.isEmpty()) {
                parts << part.toString();
            }
        }
        return parts;
    };
    QStringList parts = present({F::Address1, F::Address2, F::City});
    if (const QString stateZip = present({F::State, F::Zip}).join(u' '); !stateZip.isEmpty()) {
        parts << stateZip;
    }
    return parts.join(QStringLiteral(", "));
}

QString MemberGridModel::cellText(const MemberListRow& r, int column)
{
    return column >= 0 && column < ColumnCount ? kindText(r, kMemberKinds[size_t(column)]) : QString();
}

QString MemberGridModel::prospectCellText(const MemberListRow& r, int column)
{
    return kindText(r, column);
}

int MemberGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MemberGridModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_hasHeader) {
        return 0;
    }
    return m_layout == Layout::Prospects ? int(Prospect::ColumnCount) : int(ColumnCount);
}

QVariant MemberGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return kindText(m_rows[size_t(index.row())], kindOf(index.column()));
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    return {};
}

QVariant MemberGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    return tr(kindHeader(kindOf(section)));
}
