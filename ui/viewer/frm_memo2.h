#pragma once

#include <QWidget>

#include "ui_Frm_Memo2.h"

// The memo viewer: who called, and the message. It has no behaviour of its own; the main
// window's double click fills it.
class Frm_Memo2 : public QWidget, public Ui::Frm_Memo2 {
    Q_OBJECT

public:
    explicit Frm_Memo2(QWidget* parent = nullptr);
};
