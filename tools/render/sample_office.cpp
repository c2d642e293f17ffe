#include "tools/render/sample_office.h"

#include <optional>

#include "store/database.h"
#include "store/memo_table.h"
#include "store/schema.h"

namespace render {
namespace {

struct Sample {
    const char16_t* to;
    const char16_t* from;
    const char16_t* taker;
    const char16_t* memo;
    bool outside;
    const char16_t* phone;
    const char16_t* at;
    bool urgent = false;
};

QString text(const char16_t* s) {
    return QString::fromUtf16(s);
}

void add(store::Database& db, const Sample& m) {
    store::memo::insert(db, {text(m.to), text(m.from), text(m.taker), text(m.memo), m.outside,
                             text(m.phone), text(m.at), m.urgent});
}

std::optional<QString> nullWhenEmpty(const QString& s) {
    return s.isEmpty() ? std::nullopt : std::optional<QString>(s);
}

}  // namespace

SampleOffice::SampleOffice() {
    if (!dir_.isValid()) {
        return;
    }
    store::schema::createDataFile(dataPath());
    store::Workspace workspace;
    auto db = workspace.openDatabase(dataPath(), store::memo::tableName(),
                                     store::memo::requiredColumns());

    // Two days ago: one message for 山田, read that day.
    add(*db, {u"山田", u"佐藤商事 佐藤", u"田中", u"見積の件でお電話ください。", true,
              u"03-1234-5678", u"2026/04/08 10:12"});
    store::memo::markRead(*db, user(), QStringLiteral("2026/04/08"), 1);
    // ... and handled: 山田 called back.
    db->setAdded(1, store::memo::Added::HandledAt, QStringLiteral("2026/04/08 10:40"));
    // Yesterday: one 山田 took for 佐藤, one for 山田; both read yesterday.
    add(*db, {u"佐藤", u"北斗建設 小川", u"山田", u"納期の確認をお願いしたいとのことです。", true,
              u"052-222-3344", u"2026/04/08 16:20"});
    add(*db, {u"山田", u"鈴木", u"田中", u"お電話をさしあげてください。", false, u"",
              u"2026/04/09 15:40"});
    store::memo::markRead(*db, user(), QStringLiteral("2026/04/09"), 3);
    store::memo::markRead(*db, QStringLiteral("佐藤"), QStringLiteral("2026/04/09"), 3);
    // Since then, unread: one 山田 took for 高橋, two for 山田, and the one 山田 writes in
    // the pictures.
    add(*db, {u"高橋", u"白石食品 中島", u"山田", u"折り返しお電話ください。", true,
              u"06-6123-4567", u"2026/04/09 17:05"});
    add(*db, {u"山田", u"青葉不動産 岡田", u"鈴木", u"明日の打合せは14時からに変更とのことです。",
              true, u"045-987-6543", u"2026/04/10 09:05", true});
    add(*db, {u"山田", u"吉田", u"田中", u"会議室の予約を変更してほしいとのことです。", false,
              u"215", u"2026/04/10 09:20"});
    store::memo::insert(
        *db, {writtenTo(), writtenFrom(), user(), writtenMemo(), true, writtenPhone(), now()});
}

QString SampleOffice::makeSettings(const QString& fileName, const QString& name,
                                   const QString& folder) const {
    const QString settings = path(fileName);
    store::schema::createSettingsFile(settings, nullWhenEmpty(name), nullWhenEmpty(folder));
    return settings;
}

}  // namespace render
