#include "editor/ui/Export_Template.h"

#include "editor/TemplateStore.h"
#include "foundation/MessageBoxes.h"
#include "foundation/ui/ModalRunner.h"
#include "foundation/ui/WindowLook.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString Export_Template::export_template_name;

Export_Template::Export_Template(const QString &folder, QWidget *parent) : QDialog(parent), m_folder(folder)
{
    setWindowTitle(QStringLiteral("Template Name"));
    WindowLook::applyBackground(this);
    template_name = new QLineEdit(this);
    template_name->setObjectName(QStringLiteral("template_name"));
    template_name->setMinimumWidth(260);
    template_passed = new QLineEdit(this);
    template_passed->setVisible(false);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Template name:"), template_name);
    layout->addLayout(form);
    layout->addLayout(WindowLook::okCancelRow(this, ok_button, cancel_button));
    connect(ok_button, &QPushButton::clicked, this, &Export_Template::OKPressed);
    connect(cancel_button, &QPushButton::clicked, this, &Export_Template::CancelPressed);
}

int Export_Template::runFor(const QString &passed)
{
    template_name->setText(passed);
    template_passed->setText(passed);
    template_name->selectAll();
    template_name->setFocus();
    setResult(0); // a reused dialog starts undecided
    return ModalRunner::exec(*this);
}

void Export_Template::OKPressed()
{
    const TemplateStore store(m_folder);
    QString name;
    const TemplateResult r = store.OKPressed(
        template_name->text(), template_passed->text(),
        [](const QString &question) { return Show_YES_NO_MessageBox(question); }, &name);
    if (r.status == TemplateResult::Status::Cancelled)
        return; // No to the replace question: the name stays for another try
    if (!r.ok()) {
        Show_MessageBox(r.message);
        template_name->setFocus();
        return;
    }
    export_template_name = name;
    done(1);
}

void Export_Template::CancelPressed()
{
    template_name->clear();
    done(0);
}
