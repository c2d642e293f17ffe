#pragma once

#include <QIcon>
#include <QImage>

#include "ui/desktop/notifications.h"

class Form1;
class Prompts;
struct Module1;

// The program on the desktop, for the user guide: the icon's menu in the notification area and
// a desktop notification as a notification service shows it.
namespace render {

// The menu of the notification area's icon, as it opens over the panel.
QImage trayMenu(Form1& form, Module1& state, Prompts& prompts);
// A notification service's card for notice: the icon, the summary in bold, the body below.
QImage notification(const QIcon& icon, const desktop::Notice& notice);

}  // namespace render
