#pragma once

#include <QString>

#include "store/message.h"

class SpreadGrid;

// Writes a received or sent listing into the grid, newest first, one row per message:
// 日時, 相手 + "様", メモ, 内外線 + 電話, the name in the column named (the taker in the received
// list, the addressee in the sent list; the header of column 6 says which), 既読, and ＮＯ as the
// row's number, with the message's identity and its marks (至急, 対応日時) beside it. Drops the
// rows shown before. Takes the rows out of listed, which is left empty: the listing is held once,
// in the grid. A failure part way leaves the rows written so far.
void fillMessageList(SpreadGrid& grid, store::Listing& listed, store::NameColumn name);
