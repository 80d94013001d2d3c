#include "outreach/outreachplanstore.h"

#include "data/database.h"
#include "data/preparedstatement.h"
#include "data/row.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"

#include <QHash>
#include <QLocale>

#include <cmath>

namespace {

// Weeks as typed: a number in the desktop's form, or with a decimal point whatever the desktop uses.
std::optional<double> weeksOf(const QString& typed)
{
    const QString text = typed.trimmed();
    bool ok = false;
    double weeks = QLocale().toDouble(text, &ok);
    if (!ok) {
        weeks = QLocale::c().toDouble(text, &ok);
    }
    if (!ok || !std::isfinite(weeks)) {
        return std::nullopt;
    }
    return weeks;
}

} // namespace

OutreachPlan OutreachPlanStore::load()
{
    OutreachPlan plan;
    for (const Row& row : m_db.select(QStringLiteral("SELECT Phase, Action, TimePeriod FROM Outreach_Phase "
                                                     "ORDER BY PhaseOrder, rowid"))) {
        plan.push_back({row.text(u"Phase"), row.text(u"Action"), row.real(u"TimePeriod")});
    }
    return plan;
}

std::variant<OutreachPlan, PlanRefusal> OutreachPlanStore::read(const QList<TypedPhase>& rows)
{
    OutreachPlan plan;
    for (int i = 0; i < rows.size(); ++i) {
        const TypedPhase& row = rows.at(i);
        const std::optional<double> weeks = weeksOf(row.weeks);
        if (row.name.trimmed().isEmpty() || row.action.trimmed().isEmpty() || !weeks) {
            return PlanRefusal{tr("All fields in the grid are required. Weeks collumn must be numeric. Please check "
                                  "your data and try again."),
                               tr("Invalid Data Fields"), i + 1};
        }
        plan.push_back({row.name, row.action, *weeks});
    }
    if (std::optional<PlanRefusal> refusal = check(plan)) {
        return *refusal;
    }
    return plan;
}

std::optional<PlanRefusal> OutreachPlanStore::check(const OutreachPlan& plan)
{
    const QString title = tr("Invalid Data Fields");
    QHash<QString, int> positions;
    for (size_t i = 0; i < plan.size(); ++i) {
        const OutreachPhase& phase = plan[i];
        const int position = int(i) + 1;
        if (phase.name.trimmed().isEmpty() || phase.action.trimmed().isEmpty() || !std::isfinite(phase.weeks)) {
            return PlanRefusal{tr("All fields in the grid are required. Weeks collumn must be numeric. Please check "
                                  "your data and try again."),
                               title, position};
        }
        if (phase.weeks < 0 || phase.weeks > kMaxWeeks) {
            return PlanRefusal{tr("Weeks must be between 0 and 520."), title, position};
        }
        const QString key = phaseNameKey(phase.name);
        if (positions.contains(key)) {
            return PlanRefusal{tr("Each phase needs its own name: %1 is used twice.").arg(phase.name), title, position};
        }
        positions.insert(key, position);
    }
    return std::nullopt;
}

QList<std::pair<QString, QString>> OutreachPlanStore::phaseMoves(const OutreachPlan& loaded, const OutreachPlan& plan)
{
    QList<std::pair<QString, QString>> moves;
    if (plan.empty()) {
        return moves;
    }
    QHash<QString, bool> seen;
    for (size_t i = 0; i < loaded.size(); ++i) {
        const QString& from = loaded[i].name;
        const QString key = phaseNameKey(from);
        if (from.isEmpty() || seen.contains(key)) {
            continue;
        }
        seen.insert(key, true);
        const QString& to = plan[std::min(i, plan.size() - 1)].name;
        if (to != from) {
            moves.append({from, to});
        }
    }
    return moves;
}

std::optional<PlanRefusal> OutreachPlanStore::save(const OutreachPlan& loaded, const OutreachPlan& plan, int* moved)
{
    if (std::optional<PlanRefusal> refusal = check(plan)) {
        return refusal;
    }
    Transaction transaction(m_db);
    int changed = 0;
    const QList<std::pair<QString, QString>> moves = phaseMoves(loaded, plan);
    if (!moves.isEmpty()) {
        // One statement reads every prospect's old phase and writes his new one, so a prospect moves once even
        // where one phase took another's name (two phases exchanged). A name matches in any capitals; the
        // CASE yields NULL for a phase that does not move, and those rows are left alone.
        QString cases;
        QVariantList caseValues;
        for (const auto& [from, to] : moves) {
            cases += QStringLiteral(" WHEN lower(?) THEN ?");
            caseValues << from << to;
        }
        const QString mapped = QStringLiteral("CASE lower(Prospect_Phase)") + cases + QStringLiteral(" END");
        changed = m_db.execute(QStringLiteral("UPDATE Member SET Prospect_Phase = ") + mapped +
                                   QStringLiteral(" WHERE Prospect_Phase IS NOT NULL AND ") + mapped +
                                   QStringLiteral(" IS NOT NULL"),
                               caseValues + caseValues);
    }
    m_db.execute(QStringLiteral("DELETE FROM Outreach_Phase"));
    PreparedStatement insert(
        m_db, QStringLiteral("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (?, ?, ?, ?)"));
    for (size_t i = 0; i < plan.size(); ++i) {
        const OutreachPhase& phase = plan[i];
        insert.execute({qint64(i) + 1, phase.name, SqlValue::textOrNull(phase.action), phase.weeks});
    }
    transaction.commit();
    if (moved != nullptr) {
        *moved = changed;
    }
    return std::nullopt;
}
