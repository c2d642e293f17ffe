#pragma once

#include <functional>

#include "store/memo_table.h"

// What the new-message watch tells beyond its own box (the notification area, desktop
// notifications: ui/desktop). The watch works alone when it has none.
class WatchNotices {
public:
    virtual ~WatchNotices() = default;

    // Whether the check must count the unread messages and read the newest, not only find one.
    virtual bool wantsCount() const = 0;
    // What a check that worked found, none waiting included; only when wantsCount().
    virtual void counted(const store::memo::Unread& unread) = 0;
    // Tells that unread messages wait, in the box's place; false leaves it to the box. When the
    // notice cannot be given after all, boxInstead is called, at once or later.
    virtual bool tell(const store::memo::Unread& unread, std::function<void()> boxInstead) = 0;
};
