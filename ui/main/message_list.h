#pragma once

#include <QString>

#include "store/recordset.h"

class SpreadGrid;

// Writes a received or sent listing into the grid, newest first, one row per message:
// 日時, 相手 + "様", メモ, 内外線 + 電話, column6's name (the header of column 6 says which),
// 既読, and ＮＯ as the row's number, with the message's identity beside it. Drops the rows shown
// before. Takes the rows out of rs, which is left empty: the listing is held once, in the grid. A
// failure part way leaves the rows written so far.
void fillMessageList(SpreadGrid& grid, store::Recordset& rs, const QString& column6);
