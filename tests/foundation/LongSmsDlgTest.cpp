// The long-message dialog driven through its widgets: question and information uses, the
// apply-to-all tick cleared at every opening, and what OK and No leave behind.
#include "foundation/FoundationState.h"
#include "foundation/ui/Long_SMS_Dlg.h"
#include "foundation/ui/ModalRunner.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

#include <gtest/gtest.h>

namespace
{
struct Seen {
    QString title, message;
    bool noVisible = false, checkVisible = false, checkTicked = false;
};

// Opens the dialog through the modal seam, as the program does; the seam's handler records what
// the dialog shows and then acts on it, with no event loop of the dialog's own.
int openAndAct(Seen &seen, const std::function<void(Long_SMS_Dlg *)> &act,
               const std::function<int(Long_SMS_Dlg *)> &open = &Long_SMS_Dlg::Open_Long_sms_Dialog)
{
    Long_SMS_Dlg *d = Long_SMS_Dlg::defaultInstance();
    int runs = 0;
    ModalRunner::setHandler([d, &seen, &runs, act](QDialog &dialog) {
        ++runs;
        EXPECT_EQ(&dialog, d);
        seen.title = d->_Msg_Title->text();
        seen.message = d->_Msg_Val->toPlainText();
        seen.noVisible = !d->no_button->isHidden();
        seen.checkVisible = !d->apply_chk->isHidden();
        seen.checkTicked = d->apply_chk->isChecked();
        act(d);
        return d->result();
    });
    const int code = open(d);
    ModalRunner::setHandler({});
    EXPECT_EQ(runs, 1);
    return code;
}
} // namespace

TEST(Long_SMS_Dlg, QuestionThenInformationUse)
{
    FoundationState::instance().reset();
    Long_SMS_Dlg *d = Long_SMS_Dlg::defaultInstance();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Long_SMS_Dlg::defaultInstance(), d);

    d->title_val = QStringLiteral("Series exists");
    d->msg_val_str = QStringLiteral("Replace the series \"Names\"?");
    d->apply_chk_show = true;
    Seen seen;
    int r = openAndAct(seen, [](Long_SMS_Dlg *dlg) {
        dlg->apply_chk->setChecked(true);
        dlg->ok_button->click();
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(seen.title, QStringLiteral("Series exists"));
    EXPECT_EQ(seen.message, QStringLiteral("Replace the series \"Names\"?"));
    EXPECT_TRUE(seen.noVisible);
    EXPECT_TRUE(seen.checkVisible);
    EXPECT_EQ(Msg_Apply_All_Chk.load(), 1);
    EXPECT_TRUE(d->title_val.isNull());
    EXPECT_TRUE(d->msg_val_str.isNull());
    EXPECT_FALSE(d->apply_chk_show);
    EXPECT_FALSE(d->isVisible());

    r = openAndAct(
        seen, [](Long_SMS_Dlg *dlg) { dlg->ok_button->click(); },
        [](Long_SMS_Dlg *dlg) {
            return dlg->showInformation(QStringLiteral("Import"),
                                        QStringLiteral("3 rows were skipped.\nRow 4: empty"));
        });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(seen.title, QStringLiteral("Import"));
    EXPECT_EQ(seen.message, QStringLiteral("3 rows were skipped.\nRow 4: empty"));
    EXPECT_FALSE(seen.noVisible);
    EXPECT_FALSE(seen.checkVisible);
    // The tick of the earlier opening does not carry over; OK with the box hidden stores "clear".
    EXPECT_FALSE(seen.checkTicked);
    EXPECT_EQ(Msg_Apply_All_Chk.load(), 0);
}

TEST(Long_SMS_Dlg, NoAndClosingLeaveTheTickAlone)
{
    Long_SMS_Dlg *d = Long_SMS_Dlg::defaultInstance();
    Msg_Apply_All_Chk = 1;
    d->title_val = QStringLiteral("Question");
    d->msg_val_str = QStringLiteral("Continue?");
    d->apply_chk_show = true;
    Seen seen;
    int r = openAndAct(seen, [](Long_SMS_Dlg *dlg) {
        dlg->apply_chk->setChecked(false);
        dlg->no_button->click();
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Msg_Apply_All_Chk.load(), 1);

    d->title_val = QStringLiteral("Question");
    r = openAndAct(seen, [](Long_SMS_Dlg *dlg) { dlg->reject(); }); // Escape or the close button
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Msg_Apply_All_Chk.load(), 1);
    EXPECT_TRUE(d->title_val.isNull());
}
