#pragma once

#include <QString>
#include <QStringView>

#include <array>

// One person found by the member navigator: his ID and the stored values the grid shows. The values are kept
// one after the other in a single text, so that tens of thousands of rows cost one allocation each.
class MemberListRow final
{
public:
    enum Field {
        FirstName,
        MiddleName,
        LastName,
        Title,
        Status,
        Phone,
        Cell,
        WorkPhone,
        Email,
        Address1,
        Address2,
        City,
        State,
        Zip,
        DateOfBirth, // ISO text as stored, empty when none
        Anniversary,
        MemberActiveStatus,
        ProspectActiveStatus,
        ProspectPhase,   // where the prospect stands in the outreach plan, and his next contact as scheduled
        NextContactDate, // ISO text as stored
        NextContactAction,
        NextContactType,
        FieldCount
    };
    using Fields = std::array<QString, FieldCount>;

    MemberListRow() = default;
    MemberListRow(qint64 id, const Fields& fields);

    qint64 id() const { return m_id; }
    QStringView field(Field field) const;
    QString text(Field f) const { return field(f).toString(); }
    qsizetype length(Field field) const;

private:
    qint64 m_id = 0;
    QString m_values;
    std::array<int, FieldCount> m_ends{};
};
