#include "store/staff.h"

#include <algorithm>

#include "store/database.h"
#include "store/like.h"
#include "store/memo_table.h"

namespace store::staff {
namespace {

Error refused(const QString& why) {
    return Error(Error::Kind::Other, why);
}

void refuseBadName(const QString& name) {
    const QString problem = nameProblem(name);
    if (!problem.isEmpty()) {
        throw refused(problem);
    }
}

bool beginsWith(const QString& name, const QString& prefix) {
    return likeMatch(prefixPattern(prefix), name).value_or(false);
}

}  // namespace

struct NameMatch::Patterns {
    LikePattern prefix;
    std::vector<LikePattern> excluded;
};

NameMatch::NameMatch(const NamePrefix& prefix)
    : patterns_(new Patterns{LikePattern(prefix.pattern), {}}) {
    for (const NamePrefix::Excluded& longer : prefix.excluded) {
        patterns_->excluded.emplace_back(longer.pattern);
    }
}

NameMatch::~NameMatch() = default;

bool NameMatch::accepts(const QString& name) const {
    if (!patterns_->prefix.match(name).value_or(false)) {
        return false;
    }
    return std::none_of(
        patterns_->excluded.begin(), patterns_->excluded.end(),
        [&](const LikePattern& longer) { return longer.match(name).value_or(false); });
}

QString nameProblem(const QString& name) {
    if (name.trimmed().isEmpty()) {
        return QStringLiteral("名前が空です。");
    }
    if (name.trimmed() != name) {
        return QStringLiteral("名前の前後に空白があります: \"%1\"").arg(name);
    }
    return {};
}

std::vector<StaffMember> directory(Database& db) {
    std::vector<StaffMember> members = store::reading(db, [&] { return db.staffMembers(); });
    std::stable_sort(members.begin(), members.end(),
                     [](const StaffMember& a, const StaffMember& b) {
                         const QString& ka = a.reading.value_or(a.name);
                         const QString& kb = b.reading.value_or(b.name);
                         const int c = QString::compare(ka, kb);
                         return c != 0 ? c < 0 : QString::compare(a.name, b.name) < 0;
                     });
    return members;
}

QStringList names(const std::vector<StaffMember>& members) {
    QStringList list;
    for (const StaffMember& m : members) {
        list << m.name;
    }
    return list;
}

void add(Database& db, const StaffMember& member) {
    refuseBadName(member.name);
    Transaction transaction(db, Transaction::Kind::Write);
    for (const StaffMember& held : db.staffMembers()) {
        if (held.name == member.name) {
            throw refused(QStringLiteral("名簿に既にあります: %1").arg(member.name));
        }
    }
    db.insertStaffMember(member);
    transaction.commit();
}

bool set(Database& db, const QString& name, const StaffMember& member) {
    refuseBadName(member.name);
    Transaction transaction(db, Transaction::Kind::Write);
    bool found = false;
    for (const StaffMember& held : db.staffMembers()) {
        found = found || held.name == name;
        if (held.name == member.name && member.name != name) {
            throw refused(QStringLiteral("名簿に既にあります: %1").arg(member.name));
        }
    }
    if (!found) {
        return false;
    }
    db.updateStaffMember(name, member);
    transaction.commit();
    return true;
}

bool remove(Database& db, const QString& name) {
    return db.deleteStaffMember(name);
}

std::int64_t importMembers(Database& db, const std::vector<StaffMember>& members) {
    QStringList seen;
    for (const StaffMember& m : members) {
        refuseBadName(m.name);
        if (seen.contains(m.name)) {
            throw refused(QStringLiteral("同じ名前が二度あります: %1").arg(m.name));
        }
        seen << m.name;
    }
    Transaction transaction(db, Transaction::Kind::Write);
    const QStringList held = names(db.staffMembers());
    std::int64_t added = 0;
    for (const StaffMember& m : members) {
        if (held.contains(m.name)) {
            db.updateStaffMember(m.name, m);
        } else {
            db.insertStaffMember(m);
            ++added;
        }
    }
    transaction.commit();
    return added;
}

std::optional<QString> ownerOf(const QStringList& directoryNames, const QString& addressee) {
    std::optional<QString> owner;
    for (const QString& name : directoryNames) {
        if ((!owner || name.size() > owner->size()) && beginsWith(addressee, name)) {
            owner = name;
        }
    }
    return owner;
}

NamePrefix addressedTo(const Database& db, const QString& name, const QStringList& directoryNames) {
    NamePrefix prefix = memo::namesBeginningWith(db, name);
    for (const QString& longer : directoryNames) {
        const QString stored = memo::storable(db, longer);
        if (stored.size() > prefix.name.size() && beginsWith(stored, prefix.name)) {
            prefix.excluded.push_back({stored, prefixPattern(stored)});
        }
    }
    return prefix;
}

}  // namespace store::staff
