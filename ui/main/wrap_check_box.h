#pragma once

#include <QCheckBox>

// A check box whose caption wraps onto further lines when it is wider than the box, as the
// watch's caption must in its narrow place beside the banner.
class WrapCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit WrapCheckBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};
