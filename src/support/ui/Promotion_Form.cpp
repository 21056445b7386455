#include "support/ui/Promotion_Form.h"

#include "foundation/DataRoot.h"
#include "foundation/ui/ModalRunner.h"
#include "support/WebLinks.h"
#include "support/ui/Promotion_Pattern.h"
#include "support/ui/SupportLook.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
QPointer<Promotion_Form> Promotion_DefaultInstance;
}

Promotion_Form::Promotion_Form(const QString &appName, QWidget *parent) : QDialog(parent)
{
    Promotion_DefaultInstance = this;
    setWindowTitle(QStringLiteral("More from Tessaly"));
    for (const WebLinks::Product &p : WebLinks::products()) {
        m_pictures.insert(p.code, QPixmap(Resource_Path + p.picture));
        m_links.insert(p.code,
                       {WebLinks::mailLink(p), WebLinks::contactLink(p, appName), WebLinks::orderLink(p)});
    }

    makeTexts();
    makeButtons();
    layOut();
    connect(mail_button, &QPushButton::clicked, this, &Promotion_Form::Mail_Clicked);
    connect(support_id, &QPushButton::clicked, this, &Promotion_Form::Contact_us_Clicked);
    connect(website_1, &QPushButton::clicked, this, &Promotion_Form::Order_Clicked);
    connect(ok_button, &QPushButton::clicked, this, &Promotion_Form::OK_Clicked);
}

// The product's picture, title and descriptions.
void Promotion_Form::makeTexts()
{
    bundle_image = new Promotion_Pattern(this);
    bundle_image->setObjectName(QStringLiteral("bundle_image"));
    bundle_image->setFixedSize(220, 220);
    Software_title = new QLabel(this);
    QFont big = Software_title->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    Software_title->setFont(big);
    short_descp = new QLabel(this);
    short_descp->setWordWrap(true);
    long_descp = new QLabel(this);
    long_descp->setWordWrap(true);
    long_descp->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    long_descp->setMinimumWidth(320);
}

void Promotion_Form::makeButtons()
{
    mail_button = new QPushButton(QStringLiteral("Ask how it works"), this);
    mail_button->setObjectName(QStringLiteral("mail_button"));
    support_id = new QPushButton(QStringLiteral("Contact us"), this);
    support_id->setObjectName(QStringLiteral("support_id"));
    website_1 = new QPushButton(QStringLiteral("Order now"), this);
    website_1->setObjectName(QStringLiteral("website_1"));
    SupportLook::apply(this, {website_1, support_id, mail_button});
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    ok_button->setDefault(true);
}

// The picture beside the texts and their link buttons, OK beneath.
void Promotion_Form::layOut()
{
    auto *texts = new QVBoxLayout;
    texts->addWidget(Software_title);
    texts->addWidget(short_descp);
    texts->addWidget(long_descp, 1);
    auto *links = new QHBoxLayout;
    links->addWidget(mail_button);
    links->addWidget(support_id);
    links->addWidget(website_1);
    links->addStretch();
    texts->addLayout(links);
    auto *top = new QHBoxLayout;
    top->addWidget(bundle_image);
    top->addLayout(texts, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok_button);
    layout->addLayout(row);
}

Promotion_Form *Promotion_Form::defaultInstance()
{
    return Promotion_DefaultInstance.data();
}

int Promotion_Form::Open_Promotion_Window()
{
    if (const WebLinks::Product *p = WebLinks::product(software_type)) {
        bundle_image->setPixmap(m_pictures.value(p->code).scaled(bundle_image->size(), Qt::KeepAspectRatio,
                                                                 Qt::SmoothTransformation));
        Software_title->setText(p->title);
        short_descp->setText(p->shortDescription);
        long_descp->setText(p->longDescription);
    }
    setResult(0); // a reused dialog starts undecided
    return ModalRunner::exec(*this);
}

QString Promotion_Form::linkOf(QString Links::*kind) const
{
    const auto it = m_links.constFind(software_type);
    return it == m_links.cend() ? QString() : (*it).*kind;
}

QString Promotion_Form::mailLink() const
{
    return linkOf(&Links::mail);
}

QString Promotion_Form::contactLink() const
{
    return linkOf(&Links::contact);
}

QString Promotion_Form::orderLink() const
{
    return linkOf(&Links::order);
}

void Promotion_Form::Mail_Clicked()
{
    SupportLook::Open_Link(mailLink());
}

void Promotion_Form::Contact_us_Clicked()
{
    SupportLook::Open_Link(contactLink());
}

void Promotion_Form::Order_Clicked()
{
    SupportLook::Open_Link(orderLink());
}
