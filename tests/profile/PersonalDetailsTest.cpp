// The personal-details record and the default frames of the detail objects: identifiers exactly as
// designs store them, resets, source changes, and frames that stay on the card and apart.
#include "profile/PlaceholderFrames.h"
#include "profile/ProfileState.h"
#include "profile/User_Profile_Class.h"

#include <gtest/gtest.h>

TEST(UserProfile, ResetGivesTheIdentifiersExactly)
{
    User_Profile_Class fresh;
    EXPECT_TRUE(fresh.Name.id.isNull());
    EXPECT_EQ(fresh.phone.ds, 0);

    User_Profile_Class p;
    p.Reset_All_Values();
    const QStringList ids = {"Fup_Name",    "Fup_Title",    "Fup_Company", "Fup_CompanySlogan",
                             "Fup_Address", "Fup_PhoneNO",  "Fup_FaxNo",   "Fup_EmailID",
                             "Fup_Website", "Fup_UniqueNo", "Fup_Photo"};
    QStringList got, labels;
    for (const auto *d : std::as_const(p).details()) {
        got << d->id;
        labels << d->label_id;
        EXPECT_TRUE(d->value.isEmpty() && !d->value.isNull());
        EXPECT_TRUE(d->ds_name.isEmpty() && !d->ds_name.isNull());
    }
    EXPECT_EQ(got, ids);
    EXPECT_EQ(User_Profile_Class::identifiers(), ids);
    EXPECT_EQ(labels.at(5), QStringLiteral("Fup_lbl_PhoneNO"));
    EXPECT_EQ(labels.at(10), QStringLiteral("Fup_lbl_Photo"));
    EXPECT_STREQ(User_Profile_Class::info().front().caption, "Name :");
    EXPECT_STREQ(User_Profile_Class::info().back().caption, "Photo :");
    EXPECT_EQ(User_Profile_Class::indexOfId("Fup_Photo"), 10);
    EXPECT_EQ(&p.detail(10), &p.image);
}

TEST(UserProfile, ChoicesFillTheRecordOrNameTheFirstDetailWithNothingPicked)
{
    using Source = User_Profile_Class::Source;
    const auto choice = [](Source source, const QString &value, const QString &name, qint32 pick) {
        User_Profile_Class::DetailChoice d;
        d.source = source;
        d.value = value;
        d.seriesName = name;
        d.pick = pick;
        return d;
    };
    User_Profile_Class p;
    p.Reset_All_Values();
    User_Profile_Class::setColumn(p.fax, 4);
    User_Profile_Class::Choices c;
    c.sideRecord = true;
    c.tableHasRows = true;
    c.details[0] = choice(Source::Fixed, QStringLiteral("Ada"), QStringLiteral("ignored"), 2);
    c.details[1] = choice(Source::Series, QStringLiteral("Dr"), QStringLiteral("Titles"), 3);
    c.details[7] = choice(Source::Column, QStringLiteral("a@example.com"), QString(), 1);
    c.details[6] = choice(Source::Unchosen, QStringLiteral("123"), QString(), -1);
    c.details[10] = choice(Source::Fixed, QStringLiteral("/pics/me.png"), QString(), -1);
    // A column the workbook lacks, kept: the binding stays as it was, value, heading and column.
    c.details[5] = choice(Source::Column, QStringLiteral("555-0100"), QString(), -1);
    c.details[5].missingHeading = QStringLiteral("Phone");
    c.details[5].missingIndex = 3;

    // A series source with nothing picked fails on that detail and leaves the record alone.
    User_Profile_Class::Choices unpicked = c;
    unpicked.details[4] = choice(Source::Series, QString(), QString(), -1);
    unpicked.details[9] = choice(Source::Column, QString(), QString(), -1);
    EXPECT_EQ(User_Profile_Class::firstUnpicked(unpicked), 4);
    const OpResult refused = p.fillFrom(unpicked);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.message, QStringLiteral("Please select the source for 'Address'"));
    EXPECT_EQ(refused.reason, QStringLiteral("Address :"));
    EXPECT_EQ(p.Fill_User_Profile_Enable, 0);
    EXPECT_EQ(p.Name.value, QString());

    ASSERT_TRUE(p.fillFrom(c).ok());
    EXPECT_EQ(p.Fill_User_Profile_Enable, 1);
    EXPECT_EQ(p.Excel_Binding, 1);
    EXPECT_EQ(p.Name.value, QStringLiteral("Ada"));
    EXPECT_EQ(p.Name.ds, 0);
    EXPECT_EQ(p.Name.ds_name, QString());
    EXPECT_EQ(p.Title.ds, 1);
    EXPECT_EQ(p.Title.ds_name, QStringLiteral("Titles"));
    EXPECT_EQ(p.Title.ds_indx, 3);
    EXPECT_EQ(p.email.xl, 1);
    EXPECT_EQ(p.email.xl_col_indx, 1);
    EXPECT_EQ(p.fax.value, QStringLiteral("123"));
    EXPECT_EQ(p.fax.xl_col_indx, 4); // no source chosen: the detail keeps its own
    EXPECT_EQ(p.phone.xl, 1);
    EXPECT_EQ(p.phone.xl_col_indx, 3);
    EXPECT_EQ(p.phone.xl_col_title, QStringLiteral("Phone"));
    EXPECT_EQ(p.phone.value, QStringLiteral("555-0100"));
    EXPECT_EQ(p.image.value, QStringLiteral("/pics/me.png"));

    // The preview's copy leaves the record's switches alone.
    User_Profile_Class preview;
    c.tableHasRows = false;
    c.sideRecord = false;
    ASSERT_TRUE(preview.fillFrom(c).ok());
    EXPECT_EQ(preview.Fill_User_Profile_Enable, 0);
    EXPECT_EQ(preview.Excel_Binding, 0);
    c.sideRecord = true;
    ASSERT_TRUE(p.fillFrom(c).ok());
    EXPECT_EQ(p.Excel_Binding, 0);
}

TEST(UserProfile, ResetClearsValuesAndSourcesButKeepsCaptions)
{
    User_Profile_Class p;
    p.Reset_All_Values();
    p.Fill_User_Profile_Enable = 1;
    p.Excel_Binding = 1;
    p.Title.value = QStringLiteral("Director");
    User_Profile_Class::setSeries(p.Title, QStringLiteral("Titles"), 3);
    User_Profile_Class::setColumn(p.email, 2);
    p.address.label = QStringLiteral("kept");
    p.address.id = QStringLiteral("changed");
    p.Reset_All_Values();
    EXPECT_EQ(p.Fill_User_Profile_Enable, 0);
    EXPECT_EQ(p.Excel_Binding, 0);
    EXPECT_EQ(p.Title.value, QString());
    EXPECT_EQ(p.Title.ds, 0);
    EXPECT_EQ(p.Title.ds_indx, 0);
    EXPECT_EQ(p.Title.ds_name, QString());
    EXPECT_EQ(p.email.xl, 0);
    EXPECT_EQ(p.email.xl_col_indx, 0);
    EXPECT_EQ(p.address.label, QStringLiteral("kept"));
    EXPECT_EQ(p.address.id, QStringLiteral("Fup_Address"));
}

TEST(UserProfile, OneSourceAtATime)
{
    User_Profile_Class::Detail d;
    User_Profile_Class::setSeries(d, QStringLiteral("Names"), 4);
    EXPECT_EQ(d.ds, 1);
    EXPECT_EQ(d.ds_name, QStringLiteral("Names"));
    EXPECT_EQ(d.ds_indx, 4);
    User_Profile_Class::setColumn(d, 2);
    EXPECT_EQ(d.ds, 0);
    EXPECT_EQ(d.ds_name, QString());
    EXPECT_EQ(d.ds_indx, 0);
    EXPECT_EQ(d.xl, 1);
    EXPECT_EQ(d.xl_col_indx, 2);
    User_Profile_Class::setFixed(d);
    EXPECT_EQ(d.xl + d.ds + d.xl_col_indx + d.ds_indx, 0);

    ProfileState::instance().Fill_User_Profile = 1;
    ProfileState::instance().reset();
    EXPECT_EQ(ProfileState::instance().Fill_User_Profile, 0);
}

TEST(PlaceholderFrames, EveryFrameFitsItsCardWithoutOverlap)
{
    for (bool landscape : {true, false}) {
        const QRectF card(QPointF(0, 0),
                          landscape ? PlaceholderFrames::LandscapeCard : PlaceholderFrames::PortraitCard);
        QList<QRectF> frames;
        for (const QString &id : User_Profile_Class::identifiers()) {
            const QRectF f = PlaceholderFrames::frame(id, landscape);
            EXPECT_GE(f.width(), 40) << id.toStdString();
            EXPECT_GE(f.height(), 16) << id.toStdString();
            EXPECT_TRUE(card.contains(f)) << id.toStdString() << " landscape " << landscape;
            for (const QRectF &other : frames)
                EXPECT_FALSE(f.intersects(other)) << id.toStdString() << " landscape " << landscape;
            frames << f;
        }
    }
}

TEST(PlaceholderFrames, OrientationFollowsTheFrontCard)
{
    const QString name = QStringLiteral("Fup_Name");
    EXPECT_EQ(PlaceholderFrames::Get_Control_Rect_From_Template(name, QSizeF(200, 200)),
              PlaceholderFrames::frame(name, true));
    EXPECT_EQ(PlaceholderFrames::Get_Control_Rect_From_Template(name, QSizeF(154, 243)),
              PlaceholderFrames::frame(name, false));
    EXPECT_NE(PlaceholderFrames::frame(name, true), PlaceholderFrames::frame(name, false));
    // The photo sits above the name on a portrait card: frames are in card coordinates, y down.
    EXPECT_LT(PlaceholderFrames::frame("Fup_Photo", false).bottom(),
              PlaceholderFrames::frame(name, false).top());
    EXPECT_EQ(PlaceholderFrames::frame(QStringLiteral("Fup_lbl_Name"), true), QRectF(0, 0, 0, 0));
    EXPECT_TRUE(PlaceholderFrames::frame(QString(), false).isNull());
}
