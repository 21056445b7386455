#include "support/ui/Review_Form.h"

#include "foundation/ui/ModalRunner.h"
#include "support/WebLinks.h"
#include "support/ui/SupportLinks.h"
#include "support/ui/SupportLook.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
QPointer<Review_Form> review_DefaultInstance;
}

Review_Form::Review_Form(QWidget *parent) : QDialog(parent)
{
    review_DefaultInstance = this;
    setWindowTitle(QStringLiteral("Rate Us"));
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral("<b>Thank you for using Tessaly Greeting Designer.</b><br><br>"
                                           "If it helped you make your cards, please take a minute to "
                                           "rate it and write a short review. It helps other people "
                                           "find it, and it tells us what to make better."),
                            this);
    text->setWordWrap(true);
    text->setMinimumWidth(360);
    layout->addWidget(text);

    website_1 = new QPushButton(QStringLiteral("Visit our website"), this);
    website_1->setObjectName(QStringLiteral("website_1"));
    support_id = new QPushButton(WebLinks::SupportAddress, this);
    support_id->setObjectName(QStringLiteral("support_id"));
    SupportLook::apply(this, {website_1, support_id});
    auto *links = new QHBoxLayout;
    links->addWidget(website_1);
    links->addWidget(support_id);
    links->addStretch();
    layout->addLayout(links);

    review_button = new QPushButton(QStringLiteral("Write a Review"), this);
    review_button->setObjectName(QStringLiteral("review_button"));
    ok_button = new QPushButton(QStringLiteral("OK"), this);
    ok_button->setObjectName(QStringLiteral("ok_button"));
    // Enter means OK and Escape closes: only a click (or Space on its focus) opens the browser.
    for (QPushButton *opensBrowser : {website_1, support_id, review_button})
        opensBrowser->setAutoDefault(false);
    ok_button->setDefault(true);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok_button);
    row->addWidget(review_button);
    layout->addLayout(row);

    connect(website_1, &QPushButton::clicked, this, [] { SupportLinks::Open_Website_1(); });
    connect(support_id, &QPushButton::clicked, this, [] { SupportLinks::Open_Support_Mail(); });
    connect(review_button, &QPushButton::clicked, this, &Review_Form::Review_Clicked);
    connect(ok_button, &QPushButton::clicked, this, &Review_Form::OK_Clicked);
}

Review_Form *Review_Form::defaultInstance()
{
    return review_DefaultInstance.data();
}

int Review_Form::Open_Review_Form_Window()
{
    setResult(0); // a reused dialog starts undecided
    ok_button->setFocus();
    return ModalRunner::exec(*this);
}

void Review_Form::OK_Clicked()
{
    done(1);
}

void Review_Form::Review_Clicked()
{
    SupportLook::Open_Link(WebLinks::ReviewPage);
    done(1);
}
