#include "profile/User_Profile_Class.h"

const std::array<User_Profile_Class::DetailInfo, User_Profile_Class::DetailCount> &User_Profile_Class::info()
{
    static const std::array<DetailInfo, DetailCount> table = {{
        {"Name", "Fup_Name", "Fup_lbl_Name", "Name :"},
        {"Title", "Fup_Title", "Fup_lbl_Title", "Position / Title :"},
        {"Company_name", "Fup_Company", "Fup_lbl_Company", "Company Name :"},
        {"slogan", "Fup_CompanySlogan", "Fup_lbl_CompanySlogan", "Company Slogan :"},
        {"address", "Fup_Address", "Fup_lbl_Address", "Address :"},
        {"phone", "Fup_PhoneNO", "Fup_lbl_PhoneNO", "Phone No. :"},
        {"fax", "Fup_FaxNo", "Fup_lbl_FaxNo", "Fax No. :"},
        {"email", "Fup_EmailID", "Fup_lbl_EmailID", "Email Id :"},
        {"website", "Fup_Website", "Fup_lbl_Website", "Website :"},
        {"unique", "Fup_UniqueNo", "Fup_lbl_UniqueNo", "Unique No. :"},
        {"image", "Fup_Photo", "Fup_lbl_Photo", "Photo :"},
    }};
    return table;
}

const QStringList &User_Profile_Class::identifiers()
{
    static const QStringList ids = [] {
        QStringList l;
        for (const DetailInfo &d : info())
            l << QString::fromLatin1(d.id);
        return l;
    }();
    return ids;
}

int User_Profile_Class::indexOfId(const QString &id)
{
    return int(identifiers().indexOf(id));
}

std::array<User_Profile_Class::Detail *, User_Profile_Class::DetailCount> User_Profile_Class::details()
{
    return {&Name, &Title, &Company_name, &slogan, &address, &phone, &fax, &email, &website, &unique, &image};
}

std::array<const User_Profile_Class::Detail *, User_Profile_Class::DetailCount>
User_Profile_Class::details() const
{
    return {&Name, &Title, &Company_name, &slogan, &address, &phone, &fax, &email, &website, &unique, &image};
}

void User_Profile_Class::Reset_All_Values()
{
    Fill_User_Profile_Enable = 0;
    Excel_Binding = 0;
    const auto all = details();
    for (int i = 0; i < DetailCount; ++i) {
        Detail &d = *all[size_t(i)];
        d.id = QString::fromLatin1(info()[size_t(i)].id);
        d.label_id = QString::fromLatin1(info()[size_t(i)].label_id);
        d.value = QStringLiteral("");
        d.ds_name = QStringLiteral("");
        setFixed(d);
    }
}

void User_Profile_Class::setFixed(Detail &d)
{
    d.ds = 0;
    d.ds_indx = 0;
    d.ds_name = QStringLiteral("");
    d.xl = 0;
    d.xl_col_indx = 0;
    d.xl_col_title.clear();
}

void User_Profile_Class::setSeries(Detail &d, const QString &name, qint32 index)
{
    setFixed(d);
    d.ds = 1;
    d.ds_name = name;
    d.ds_indx = index;
}

void User_Profile_Class::setColumn(Detail &d, qint32 column, const QString &heading)
{
    setFixed(d);
    d.xl = 1;
    d.xl_col_indx = column;
    d.xl_col_title = heading;
}

QString User_Profile_Class::nameOf(int index)
{
    QString name = QString::fromLatin1(info()[size_t(index)].caption).trimmed();
    name.remove(QStringLiteral(" :"));
    return name;
}

int User_Profile_Class::firstUnpicked(const Choices &choices)
{
    for (int f = 0; f < DetailCount; ++f) {
        const DetailChoice &c = choices.details[size_t(f)];
        if ((c.source == Source::Series || c.source == Source::Column) && c.pick < 0 &&
            (c.source != Source::Column || c.missingHeading.isEmpty()))
            return f;
    }
    return -1;
}

OpResult User_Profile_Class::fillFrom(const Choices &choices)
{
    if (const int f = firstUnpicked(choices); f >= 0) {
        return OpResult::failed(QStringLiteral("Please select the source for '%1'").arg(nameOf(f)),
                                QString::fromLatin1(info()[size_t(f)].caption));
    }
    if (choices.sideRecord) {
        Fill_User_Profile_Enable = 1;
        Excel_Binding = choices.tableHasRows ? 1 : 0;
    }
    for (int f = 0; f < DetailCount; ++f) {
        const DetailChoice &c = choices.details[size_t(f)];
        Detail &d = detail(f);
        d.value = c.value;
        switch (c.source) {
        case Source::Fixed:
            setFixed(d);
            break;
        case Source::Series:
            setSeries(d, c.seriesName, c.pick);
            break;
        case Source::Column:
            if (c.pick < 0)
                setColumn(d, c.missingIndex, c.missingHeading);
            else
                setColumn(d, c.pick, c.seriesName);
            break;
        case Source::Unchosen:
            break;
        }
    }
    return OpResult::done();
}
