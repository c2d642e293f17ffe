#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ui/qt_prompts.h"

// The delete question answers in Japanese: exactly はい (Yes) and いいえ (No); a message has OK.
TEST(MessageBox, TheQuestionOffersJapaneseYesAndNoAndAnswersByThem) {
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

// While one of its boxes or dialogs waits for the user, the program's prompts say so (the watch
// then opens nothing), and no longer once it has closed.
TEST(MessageBox, ThePromptsKnowWhileABoxOrDialogIsOpen) {
    QtPrompts prompts;
    const std::function<void()> shows[] = {
        [&] { prompts.inform(QStringLiteral("メッセージを送信しました。")); },
        [&] { prompts.ask(QStringLiteral("1行目のデータを削除します。")); },
        [&] { prompts.openFile(QDir::rootPath(), QStringLiteral("dulvane.mdb")); },
    };
    for (const auto& show : shows) {
        bool openInside = false;
        QTimer::singleShot(0, [&] {
            openInside = prompts.isOpen();
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->reject();
        });
        show();
        EXPECT_TRUE(openInside);
        EXPECT_FALSE(prompts.isOpen());
    }
}

// The file dialog opens in the folder it is given, with the proposed file's name ready, even
// when the proposed path (the one picked last) lies in another folder.
TEST(FileDialog, OpensInTheGivenFolderProposingTheFileByName) {
    QTemporaryDir start, elsewhere;
    QtPrompts prompts;
    QString shownIn;
    QStringList proposed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownIn = dialog->directory().absolutePath();
        proposed = dialog->selectedFiles();
        dialog->reject();
    });
    EXPECT_EQ(prompts.openFile(start.path(), elsewhere.filePath(QStringLiteral("dulvane.mdb"))),
              std::nullopt);
    EXPECT_EQ(shownIn, start.path());
    EXPECT_EQ(proposed, QStringList{start.filePath(QStringLiteral("dulvane.mdb"))});
}
