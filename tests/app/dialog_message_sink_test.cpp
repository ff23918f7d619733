#include "app/dialog_message_sink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace mz {
namespace {

TEST(DialogMessageSink, ShowsAModalInformationBoxWithOkOnly) {
    QWidget parent;
    parent.show();
    QString title, text;
    QList<QAbstractButton*> buttons;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        buttons = box->buttons();
        modal = box->isModal();
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->button(QMessageBox::Ok)->click();
    });
    DialogMessageSink().inform(&parent, QStringLiteral("没有下一章啦"));
    EXPECT_EQ(title, "信息：");
    EXPECT_EQ(text, "没有下一章啦");
    EXPECT_EQ(buttons.size(), 1);
    EXPECT_TRUE(modal);
}

} // namespace
} // namespace mz
