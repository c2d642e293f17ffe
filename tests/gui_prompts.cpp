#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

#include "ui/qt_prompts.h"

// The delete question answers in Japanese: exactly はい (Yes) and いいえ (No); a message has OK.
TEST(MessageBox, TheQuestionOffersはいAndいいえAndAnswersByThem) {
    for (const auto& [label, answer] : {std::pair{QStringLiteral("はい"), QMessageBox::Yes},
                                        std::pair{QStringLiteral("いいえ"), QMessageBox::No}}) {
        auto box = makeMessageBox(QStringLiteral("1行目のデータを削除します。"), true);
        QStringList labels;
        QAbstractButton* pressed = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            labels << button->text();
            if (button->text() == label) {
                pressed = button;
            }
        }
        labels.sort();
        EXPECT_EQ(labels, (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("dulvane"));
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        ASSERT_NE(pressed, nullptr);
        box->show();
        QTest::mouseClick(pressed, Qt::LeftButton);
        EXPECT_EQ(box->result(), answer);
        EXPECT_FALSE(box->isVisible());
    }
    auto message = makeMessageBox(QStringLiteral("メッセージを送信しました。"), false);
    EXPECT_EQ(message->standardButtons(), QMessageBox::Ok);
}
