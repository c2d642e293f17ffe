#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

// The message grid's columns, numbered from 1 as the window's click events count them.
enum class GridColumn {
    Delete = 1,  // 削除: a button in every row, no text
    DateTime,    // 日時
    Caller,      // 電話相手
    Memo,        // メモ
    Phone,       // 電話
    Name,        // 受人 or 宛名, as the header says
    Read,        // 既読
    Number,      // 受付NO
};
inline constexpr int kGridColumns = 8;

// One row of the grid: a text for each column that shows one, and the message the row stands
// for: its number and its identity (see store::memo::Identity), which tells whether the message
// under that number is still the one listed. The number column shows the number when there is
// one, else its own text.
class GridRow {
public:
    const QString& text(GridColumn column) const;
    void setText(GridColumn column, QString text);  // the delete column keeps no text

    std::optional<std::int64_t> number() const;
    void setNumber(std::optional<std::int64_t> number);
    std::uint64_t identity() const { return identity_; }
    void setIdentity(std::uint64_t identity) { identity_ = identity; }
    // The message's marks: sent as urgent (至急), handled by the addressee (対応日時).
    bool urgent() const { return urgent_; }
    void setUrgent(bool urgent) { urgent_ = urgent; }
    bool handled() const { return handled_; }
    void setHandled(bool handled) { handled_ = handled; }

    // What the row shows in the column.
    QString shown(GridColumn column) const;
    // No text and no number.
    bool isEmpty() const;

private:
    static constexpr std::int64_t kNoNumber = std::numeric_limits<std::int64_t>::min();
    static constexpr int kTexts = kGridColumns - 1;  // every column but the delete buttons

    std::array<QString, kTexts> texts_;
    std::int64_t number_ = kNoNumber;
    std::uint64_t identity_ = 0;
    bool urgent_ = false;
    bool handled_ = false;
};
