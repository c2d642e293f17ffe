#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "store/message.h"

// The staff directory (STAFF_T) and the rule of delivery built on it, the same on every engine.
namespace store {

class Database;

// One person in the directory. Texts other than the name are Null when absent.
struct StaffMember {
    QString name;                      // 名前: never empty, no spaces at either end, unique
    std::optional<QString> reading;    // よみ
    std::optional<QString> extension;  // 内線番号
    std::optional<QString> section;    // 所属
    std::optional<QString> mail;       // メール
    bool forward = false;              // 転送: 1 when set, Null otherwise
};

namespace staff {

// Why a name cannot be in the directory (empty, or spaces at an end); empty when it can.
QString nameProblem(const QString& name);

// The directory ordered by よみ (a person without one by the name), then 名前; empty when
// the data has no directory.
std::vector<StaffMember> directory(Database& db);
QStringList names(const std::vector<StaffMember>& members);

// Adds a person; refuses (Error::Kind::Other, in words) a bad or duplicate name.
void add(Database& db, const StaffMember& member);
// Replaces the person named name (the name itself may change); false when nobody has it.
bool set(Database& db, const QString& name, const StaffMember& member);
// Removes the person named name; false when nobody has it.
bool remove(Database& db, const QString& name);
// Adds every person, or replaces the one with the same name, in one transaction: all or none.
// Returns how many were new.
std::int64_t importMembers(Database& db, const std::vector<StaffMember>& members);

// The rule of delivery: whose a message addressed to addressee is. The longest directory name
// the addressee begins with (the office's Like); none when no name fits.
std::optional<QString> ownerOf(const QStringList& directoryNames, const QString& addressee);

// The names a user named name looks for in a name column: every name beginning with name,
// except those beginning with a longer directory name that itself begins with name. With an
// empty directory this is the prefix rule alone.
NamePrefix addressedTo(const Database& db, const QString& name, const QStringList& directoryNames);

// Whether a name in a column is one prefix looks for (the office's Like, the exclusions
// applied): what the engines that match in the program itself use.
class NameMatch {
public:
    explicit NameMatch(const NamePrefix& prefix);
    ~NameMatch();
    NameMatch(const NameMatch&) = delete;
    NameMatch& operator=(const NameMatch&) = delete;
    bool accepts(const QString& name) const;

private:
    struct Patterns;
    std::unique_ptr<Patterns> patterns_;
};

}  // namespace staff
}  // namespace store
