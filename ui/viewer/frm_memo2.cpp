#include "ui/viewer/frm_memo2.h"

Frm_Memo2::Frm_Memo2(QWidget* parent) : QWidget(parent) {
    setupUi(this);
}
